// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The one list of a style's files: which files a style holds, what each one is, which sample
// window shows it and how the window draws it. The load pass, the live minimize button, the
// style check, the tests and the benchmarks all read it.
struct StyleFile
{
    enum class Piece {
        Mask,
        CaptionCorner,
        CaptionBar,
        SideEdge,
        BottomEdge,
        BottomCorner,
        ButtonFace,
        Glyph,
    };
    // Who reads the file: the load pass, the live minimize button on hover and press, or nobody
    // (faces styles carry for completeness; a style need not have them).
    enum class Reader { LoadPass, LiveButton, Nobody };
    enum class Window { Both, Inactive, Active };
    enum class Side { None, Left, Right };
    // The states in the order the review pictures show them; frame pieces have none.
    enum class State { Normal, Over, Press, Disable, None };
    // The caption buttons in the window's order from the left; a face belongs to none, since
    // every button shows the same one.
    enum class Button { Minimize, Restore, Maximize, Close, None };
    // How the window draws the picture: cut to (or shown inside) a fixed size, stretched to
    // the panel along one axis with the other fixed, or at its own size.
    enum class Drawing { Cut, StretchedWide, StretchedHigh, OwnSize };

    const char* name = "";
    Piece piece = Piece::Mask;
    Reader reader = Reader::LoadPass;
    Window window = Window::Both;
    Side side = Side::None;
    State state = State::None;
    Drawing drawing = Drawing::OwnSize;
    // The fixed dimensions: both for Cut, the height for StretchedWide, the width for
    // StretchedHigh; zero where the picture decides.
    int width = 0;
    int height = 0;
    // Drawn with the colour key (the picture's bottom-left pixel) left out.
    bool keyed = false;
    // The button a glyph belongs to: its files in the normal, over and press states take turns
    // in one place.
    Button button = Button::None;
};

namespace StyleFiles {

constexpr int kCornerWidth = 12;
constexpr int kCornerHeight = 29;
constexpr int kEdgeWidth = 5;
constexpr int kBottomEdgeHeight = 8;
constexpr int kButtons = 4;
constexpr int kButtonStates = 4; // every state but None

// The names files and pictures give them: "minimize", "normal".
const char* buttonName(StyleFile::Button button);
const char* stateName(StyleFile::State state);

// Every file a style holds, each once: the load pass's files in the order it first reads them,
// then the live button's over and press files, then the faces nobody reads.
const QList<StyleFile>& all();

// The entry of that exact file name, or null.
const StyleFile* find(QByteArrayView name);

// The name of the one file of that piece, window, side, button and state (a frame piece has no
// button or state). Asking for a file the table does not hold is a programming error.
const char* name(StyleFile::Piece piece, StyleFile::Window window,
    StyleFile::Side side = StyleFile::Side::None,
    StyleFile::Button button = StyleFile::Button::None,
    StyleFile::State state = StyleFile::State::None);

// The caption button face and the minimize glyph in one of the live button's looks.
const char* faceFile(StyleFile::State state);
const char* minimizeGlyphFile(StyleFile::State state);
// A button's glyph in a state, in whichever window shows it (disable: the unfocused one).
const char* glyphFile(StyleFile::Button button, StyleFile::State state);

} // namespace StyleFiles

// dir and file joined by exactly one '/', whether or not dir ends in one; with no file, the
// style directory as the window's paths want it, ending in "/".
QByteArray joinStylePath(const QByteArray& dir, const QByteArray& file = {});
