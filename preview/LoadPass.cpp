#include "preview/LoadPass.h"

#include "controls/BitmapReader.h"
#include "controls/FormSetup.h"
#include "controls/ImageControl.h"

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

const WindowFiles kInactiveFiles { "captionbar_left_inactive.png", "captionbar_right_inactive.png",
    "captionbar_inactive.png", "framebottom_left_inactive.png", "framebottom_right_inactive.png",
    "framebottom_inactive.png", "frameleft_inactive.png", "close_active_disable.png",
    "maximize_active_disable.png", "minimize_active_disable.png", "restore_active_disable.png",
    "Inactive Window", qRgb(200, 200, 200) };

const WindowFiles kActiveFiles { "captionbar_left_active.png", "captionbar_right_active.png",
    "captionbar_active.png", "framebottom_left_active.png", "framebottom_right_active.png",
    "framebottom_active.png", "frameleft_active.png", "close_active_normal.png",
    "maximize_active_normal.png", "minimize_active_normal.png", "restore_active_normal.png",
    "Active Window", qRgb(255, 255, 255) };

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
        button->loadFromFile(s.file("captionbutton_normal.png"));

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

    // The working bitmaps live in this frame only: they are released however the pass ends.
    const QImage maskLeft = readBitmap(state.file("frame_mask_left.bmp"));
    composeLeftCorner(state, inactive, kInactiveFiles, maskLeft);
    const QImage maskRight = readBitmap(state.file("frame_mask_right.bmp"));
    composeRest(
        state, inactive, kInactiveFiles, maskRight, state.InactiveWidth, state.InactiveHeight);

    composeLeftCorner(state, active, kActiveFiles, maskLeft);
    composeRest(state, active, kActiveFiles, maskRight, state.ActiveWidth, state.ActiveHeight);
}
