// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/LoadPass.h"

#include "controls/FormSetup.h"
#include "controls/ImageControl.h"
#include "style/BitmapReader.h"
#include "style/StyleFiles.h"

#include <QLabel>

namespace {

struct WindowFiles
{
    const char* captionbarLeft;
    const char* captionbarRight;
    const char* captionbar;
    const char* framebottomLeft;
    const char* framebottomRight;
    const char* framebottom;
    const char* frameleft;
    const char* glyphClose;
    const char* glyphMaximize;
    const char* glyphMinimize;
    const char* glyphRestore;
    const char* caption;
    QRgb captionColour;
};

WindowFiles windowFiles(StyleFile::Window window, const char* caption, QRgb captionColour)
{
    using P = StyleFile::Piece;
    using S = StyleFile::Side;
    // The unfocused window shows the disabled glyphs, the focused one the normal ones.
    const StyleFile::State glyphs = window == StyleFile::Window::Inactive
        ? StyleFile::State::Disable
        : StyleFile::State::Normal;
    const auto glyph = [&](StyleFile::Button button) {
        return StyleFiles::name(P::Glyph, window, S::None, button, glyphs);
    };
    return { StyleFiles::name(P::CaptionCorner, window, S::Left),
        StyleFiles::name(P::CaptionCorner, window, S::Right),
        StyleFiles::name(P::CaptionBar, window), StyleFiles::name(P::BottomCorner, window, S::Left),
        StyleFiles::name(P::BottomCorner, window, S::Right),
        StyleFiles::name(P::BottomEdge, window), StyleFiles::name(P::SideEdge, window),
        glyph(StyleFile::Button::Close), glyph(StyleFile::Button::Maximize),
        glyph(StyleFile::Button::Minimize), glyph(StyleFile::Button::Restore), caption,
        captionColour };
}

const char* maskFile(StyleFile::Side side)
{
    return StyleFiles::name(StyleFile::Piece::Mask, StyleFile::Window::Both, side);
}

// The corner image keeps its own bitmap: the mask goes on first, the style's corner over it.
void compositeCorner(ImageControl* corner, const QImage& mask, const QImage& picture)
{
    corner->paintOver(mask);
    corner->paintOver(picture);
}

void setCaption(QLabel* label, const char* text, QRgb colour)
{
    label->move(37, 4);
    // Size 10 points at the form's 101 pixels per inch, whatever the screen's resolution.
    label->setFont(FormSetup::x11Font(QStringLiteral("adobe-helvetica"), 14, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(colour));
    label->setPalette(palette);
    label->setText(QString::fromLatin1(text));
    label->adjustSize();
}

// A bottom corner is placed from the picture it shows, loaded, then placed again from the new
// picture, so it sits flush with the panel's edges on every pass.
void placeBottomCorner(
    const StyleState& s, ImageControl* corner, const char* file, int width, int height, bool right)
{
    auto place
        = [&] { corner->move(right ? width - corner->width() : 0, height - corner->height()); };
    place();
    corner->loadFromFile(s.file(file));
    place();
}

void composeLeftCorner(
    const StyleState& s, const SampleWindowView& v, const WindowFiles& f, const QImage& maskLeft)
{
    const QImage corner = readBitmap(s.file(f.captionbarLeft));
    v.captionbarLeft->move(0, 0);
    compositeCorner(v.captionbarLeft, maskLeft, corner);
}

// Everything after the left corner, in the order later pieces need: each takes its place from
// the sizes of the pieces placed before it.
void composeRest(const StyleState& s, const SampleWindowView& v, const WindowFiles& f,
    const QImage& maskRight, int width, int height)
{
    const QImage cornerRight = readBitmap(s.file(f.captionbarRight));
    v.captionbarRight->move(width - v.captionbarRight->width(), 0);
    compositeCorner(v.captionbarRight, maskRight, cornerRight);

    v.captionbar->setGeometry(v.captionbarLeft->width(), 0,
        width - v.captionbarRight->width() - v.captionbarLeft->width(), v.captionbarLeft->height());
    v.captionbar->loadFromFile(s.file(f.captionbar));

    placeBottomCorner(s, v.framebottomLeft, f.framebottomLeft, width, height, false);
    placeBottomCorner(s, v.framebottomRight, f.framebottomRight, width, height, true);

    v.framebottom->setGeometry(v.framebottomLeft->width(), height - v.framebottom->height(),
        width - v.framebottomLeft->width() - v.framebottomRight->width(), v.framebottom->height());
    v.framebottom->loadFromFile(s.file(f.framebottom));

    v.frameleft->setGeometry(0, v.captionbarLeft->height(), v.frameleft->width(),
        height - v.captionbarLeft->height() - v.framebottomLeft->height());
    v.frameleft->loadFromFile(s.file(f.frameleft));

    // There is no right-edge file: the right edge shows the left edge's bitmap.
    v.frameright->setGeometry(width - v.frameright->width(), v.captionbarRight->height(),
        v.frameright->width(), height - v.captionbarRight->height() - v.framebottomRight->height());
    v.frameright->loadFromFile(s.file(f.frameleft));

    setCaption(v.caption, f.caption, f.captionColour);

    for (ImageControl* button :
        { v.buttonClose, v.buttonMaximize, v.buttonMinimize, v.buttonRestore })
        button->loadFromFile(s.file(StyleFiles::faceFile(StyleFile::State::Normal)));

    v.glyphClose->loadFromFile(s.file(f.glyphClose));
    v.glyphMaximize->loadFromFile(s.file(f.glyphMaximize));
    v.glyphMinimize->loadFromFile(s.file(f.glyphMinimize));
    v.glyphRestore->loadFromFile(s.file(f.glyphRestore));
}

} // namespace

void runLoadPass(StyleState& state, const QByteArray& styleDir, const SampleWindowView& inactive,
    const SampleWindowView& active)
{
    state.StyleDir = styleDir;

    static const WindowFiles inactiveFiles
        = windowFiles(StyleFile::Window::Inactive, "Inactive Window", qRgb(200, 200, 200));
    static const WindowFiles activeFiles
        = windowFiles(StyleFile::Window::Active, "Active Window", qRgb(255, 255, 255));

    // The working bitmaps live in this frame only: they are released however the pass ends.
    const QImage maskLeft = readBitmap(state.file(maskFile(StyleFile::Side::Left)));
    composeLeftCorner(state, inactive, inactiveFiles, maskLeft);
    const QImage maskRight = readBitmap(state.file(maskFile(StyleFile::Side::Right)));
    composeRest(
        state, inactive, inactiveFiles, maskRight, state.InactiveWidth, state.InactiveHeight);

    composeLeftCorner(state, active, activeFiles, maskLeft);
    composeRest(state, active, activeFiles, maskRight, state.ActiveWidth, state.ActiveHeight);
}
