// SPDX-License-Identifier: GPL-3.0-or-later
#include "style/StyleFiles.h"

#include <QtGlobal>

namespace {

using P = StyleFile::Piece;
using R = StyleFile::Reader;
using W = StyleFile::Window;
using S = StyleFile::Side;
using St = StyleFile::State;
using B = StyleFile::Button;
using D = StyleFile::Drawing;

constexpr int kCw = StyleFiles::kCornerWidth;
constexpr int kCh = StyleFiles::kCornerHeight;

StyleFile frame(const char* name, P piece, W window, S side, D drawing, int width, int height,
    bool keyed = false)
{
    StyleFile f;
    f.name = name;
    f.piece = piece;
    f.window = window;
    f.side = side;
    f.drawing = drawing;
    f.width = width;
    f.height = height;
    f.keyed = keyed;
    return f;
}

StyleFile button(const char* name, P piece, R reader, W window, B owner, St state)
{
    StyleFile f;
    f.name = name;
    f.piece = piece;
    f.reader = reader;
    f.window = window;
    f.state = state;
    f.keyed = true;
    f.button = owner;
    return f;
}

// One window's frame pieces, in the order the load pass reads them after its masks.
QList<StyleFile> windowFrame(W w, const char* const (&names)[7])
{
    return {
        frame(names[0], P::CaptionCorner, w, S::Left, D::Cut, kCw, kCh, true),
        frame(names[1], P::CaptionCorner, w, S::Right, D::Cut, kCw, kCh),
        frame(names[2], P::CaptionBar, w, S::None, D::StretchedWide, 0, kCh),
        frame(names[3], P::BottomCorner, w, S::Left, D::OwnSize, 0, 0),
        frame(names[4], P::BottomCorner, w, S::Right, D::OwnSize, 0, 0),
        frame(names[5], P::BottomEdge, w, S::None, D::StretchedWide, 0,
            StyleFiles::kBottomEdgeHeight),
        // Both side edges show it: there is no right-edge file.
        frame(names[6], P::SideEdge, w, S::None, D::StretchedHigh, StyleFiles::kEdgeWidth, 0),
    };
}

QList<StyleFile> glyphs(R reader, W w, St state, const char* const (&names)[4])
{
    static const B buttons[] = { B::Close, B::Maximize, B::Minimize, B::Restore };
    QList<StyleFile> list;
    for (int i = 0; i < 4; ++i)
        if (names[i])
            list.append(button(names[i], P::Glyph, reader, w, buttons[i], state));
    return list;
}

QList<StyleFile> makeTable()
{
    QList<StyleFile> t;
    t.append(frame("frame_mask_left.bmp", P::Mask, W::Both, S::Left, D::Cut, kCw, kCh));
    // The pass reads the right mask after the inactive left corner; the table keeps one
    // entry per file, so the masks lead and the corners follow in window order.
    t.append(frame("frame_mask_right.bmp", P::Mask, W::Both, S::Right, D::Cut, kCw, kCh));
    t += windowFrame(W::Inactive,
        { "captionbar_left_inactive.png", "captionbar_right_inactive.png",
            "captionbar_inactive.png", "framebottom_left_inactive.png",
            "framebottom_right_inactive.png", "framebottom_inactive.png",
            "frameleft_inactive.png" });
    t.append(button(
        "captionbutton_normal.png", P::ButtonFace, R::LoadPass, W::Both, B::None, St::Normal));
    t += glyphs(R::LoadPass, W::Inactive, St::Disable,
        { "close_active_disable.png", "maximize_active_disable.png", "minimize_active_disable.png",
            "restore_active_disable.png" });
    t += windowFrame(W::Active,
        { "captionbar_left_active.png", "captionbar_right_active.png", "captionbar_active.png",
            "framebottom_left_active.png", "framebottom_right_active.png", "framebottom_active.png",
            "frameleft_active.png" });
    t += glyphs(R::LoadPass, W::Active, St::Normal,
        { "close_active_normal.png", "maximize_active_normal.png", "minimize_active_normal.png",
            "restore_active_normal.png" });
    t.append(button(
        "captionbutton_over.png", P::ButtonFace, R::LiveButton, W::Active, B::None, St::Over));
    t.append(button(
        "captionbutton_press.png", P::ButtonFace, R::LiveButton, W::Active, B::None, St::Press));
    t += glyphs(R::LiveButton, W::Active, St::Over,
        { nullptr, nullptr, "minimize_active_over.png", nullptr });
    t += glyphs(R::LiveButton, W::Active, St::Press,
        { nullptr, nullptr, "minimize_active_press.png", nullptr });
    t += glyphs(R::Nobody, W::Active, St::Over,
        { "close_active_over.png", "maximize_active_over.png", nullptr,
            "restore_active_over.png" });
    t += glyphs(R::Nobody, W::Active, St::Press,
        { "close_active_press.png", "maximize_active_press.png", nullptr,
            "restore_active_press.png" });
    return t;
}

} // namespace

namespace StyleFiles {

const QList<StyleFile>& all()
{
    static const QList<StyleFile> table = makeTable();
    return table;
}

const StyleFile* find(QByteArrayView name)
{
    for (const StyleFile& f : all())
        if (name == QByteArrayView(f.name))
            return &f;
    return nullptr;
}

const char* name(StyleFile::Piece piece, StyleFile::Window window, StyleFile::Side side,
    StyleFile::Button button, StyleFile::State state)
{
    for (const StyleFile& f : all())
        if (f.piece == piece && f.window == window && f.side == side && f.state == state
            && f.button == button)
            return f.name;
    qFatal("no style file of piece %d, window %d, side %d, button %d, state %d", int(piece),
        int(window), int(side), int(button), int(state));
}

const char* faceFile(StyleFile::State state)
{
    const StyleFile::Window window
        = state == StyleFile::State::Normal ? StyleFile::Window::Both : StyleFile::Window::Active;
    return name(StyleFile::Piece::ButtonFace, window, StyleFile::Side::None,
        StyleFile::Button::None, state);
}

const char* minimizeGlyphFile(StyleFile::State state)
{
    return name(StyleFile::Piece::Glyph, StyleFile::Window::Active, StyleFile::Side::None,
        StyleFile::Button::Minimize, state);
}

const char* glyphFile(StyleFile::Button button, StyleFile::State state)
{
    for (const StyleFile& f : all())
        if (f.piece == StyleFile::Piece::Glyph && f.state == state && f.button == button)
            return f.name;
    qFatal("no glyph file of button %d, state %d", int(button), int(state));
}

const char* buttonName(StyleFile::Button button)
{
    static const char* const names[] = { "minimize", "restore", "maximize", "close", "" };
    return names[int(button)];
}

const char* stateName(StyleFile::State state)
{
    static const char* const names[] = { "normal", "over", "press", "disable", "" };
    return names[int(state)];
}

} // namespace StyleFiles

QByteArray joinStylePath(const QByteArray& dir, const QByteArray& file)
{
    qsizetype end = dir.size();
    while (end > 0 && dir[end - 1] == '/')
        --end;
    return dir.left(end) + '/' + file;
}
