// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// xfwm4 draws each button as one picture: face, glyph and often the caption behind them. The
// window draws a face and, over it, a glyph at the form's offset, both with their colour key
// left out. This splits the one into the two.
namespace ButtonSplit {

enum Button { Minimize, Maximize, Close, Restore, kButtons };
enum State { Normal, Over, Press, Disable, kStates };

// The faces fit the form's button places; the glyph of each button lies at its offset there.
constexpr int kFaceWidth = 21;
constexpr int kFaceHeight = 24;
QPoint glyphOffset(Button button);

struct Input
{
    QImage image[kButtons][kStates]; // alpha 0 or 255; null where the theme has none
    // The caption middle behind the buttons, focused and unfocused (disable).
    QImage caption[2];
};

struct Output
{
    QImage face[3]; // normal, over, press; keyed pictures, the key at the bottom left
    QImage glyph[kButtons][kStates];
    bool sharedFace = false;
    QList<QByteArray> lines; // what the split changed, one line each
};

Output split(const Input& input);

// A keyed picture of the opaque pixels of image: every other pixel, and the bottom-left one,
// in a colour that no opaque pixel has, adding a row below when the bottom-left one is opaque.
QImage keyed(const QImage& image);

} // namespace ButtonSplit
