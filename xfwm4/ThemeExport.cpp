// SPDX-License-Identifier: GPL-3.0-or-later
#include "xfwm4/ThemeExport.h"

#include "controls/ImageControl.h"
#include "preview/PreviewPanel.h"
#include "review/PictureKit.h"
#include "style/BitmapReader.h"
#include "style/ErrorText.h"
#include "style/StyleFiles.h"

#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <exception>

namespace {

using State = StyleFile::State;
using Window = StyleFile::Window;
using Side = StyleFile::Side;
using Piece = StyleFile::Piece;

// The form's buttons stand 2 apart; xfwm4 spaces its own buttons by one setting.
constexpr int kButtonSpacing = 2;

// One button of the theme: xfwm4's name for it and the form's button whose face and glyph it
// shows. Restore has no button of its own in xfwm4: a maximized window shows maximize's
// toggled look.
struct ThemeButton
{
    const char* name;
    StyleFile::Button styleButton;
    ImageControl* SampleWindowView::*face;
    ImageControl* SampleWindowView::*glyph;
};

const ThemeButton kButtons[] = {
    { "hide", StyleFile::Button::Minimize, &SampleWindowView::buttonMinimize,
        &SampleWindowView::glyphMinimize },
    { "maximize", StyleFile::Button::Maximize, &SampleWindowView::buttonMaximize,
        &SampleWindowView::glyphMaximize },
    { "close", StyleFile::Button::Close, &SampleWindowView::buttonClose,
        &SampleWindowView::glyphClose },
    { "maximize-toggled", StyleFile::Button::Restore, &SampleWindowView::buttonRestore,
        &SampleWindowView::glyphRestore },
};

// C's division, as xfwm4 computes its positions: towards zero.
int cDiv(int a, int b)
{
    return a / b;
}

QByteArray colourText(const QColor& colour)
{
    return colour.name(QColor::HexRgb).toLatin1();
}

// What an image control draws over what lies under it, with no sibling over it: the window
// icon, the caption and the buttons that a grab of the panel would show stay out.
QImage drawnBy(ImageControl* control, const QColor& under)
{
    QImage image(control->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(under);
    control->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool columnsVary(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 1; x < image.width(); ++x)
            if (line[x] != line[0])
                return true;
    }
    return false;
}

bool rowsVary(const QImage& image)
{
    const qsizetype bytes = qsizetype(image.width()) * 4;
    for (int y = 1; y < image.height(); ++y)
        if (std::memcmp(image.constScanLine(y), image.constScanLine(0), size_t(bytes)) != 0)
            return true;
    return false;
}

class Exporter
{
public:
    Exporter(const QByteArray& styleDir, int scale, ThemeExport& theme)
        : m_dir(joinStylePath(styleDir))
        , m_scale(scale)
        , m_theme(theme)
    {
        m_panel.resize(PreviewPanel::kSizeInWindow);
    }

    void run()
    {
        m_panel.loadStyle(m_dir);
        const SampleWindowView active = m_panel.activeView();
        const SampleWindowView inactive = m_panel.inactiveView();
        frame(active, Window::Active, m_panel.ActiveWindow);
        frame(inactive, Window::Inactive, m_panel.InactiveWindow);

        // The looks the load pass leaves: active and inactive; then the pointer's two.
        for (const ThemeButton& button : kButtons) {
            addButton(button, "active", active);
            addButton(button, "inactive", inactive);
        }
        for (const State state : { State::Over, State::Press }) {
            for (const ThemeButton& button : kButtons) {
                showLook(active, button, state);
                addButton(button, state == State::Over ? "prelight" : "pressed", active);
            }
        }
        m_theme.themerc = themerc(active, inactive);
    }

private:
    QByteArray file(const char* name) const { return m_dir + name; }

    void add(const QByteArray& name, const QImage& image)
    {
        m_theme.pictures.append({ name + ".png", PictureKit::magnified(image, m_scale) });
    }

    void warn(const char* file, const QString& message, const char* rule)
    {
        m_theme.problems.append(
            { QByteArray(file), StyleProblem::Severity::Warning, message, rule });
    }

    void frame(const SampleWindowView& view, Window window, QWidget* sampleWindow)
    {
        const QByteArray look = window == Window::Active ? "active" : "inactive";
        const QColor body = sampleWindow->palette().color(sampleWindow->backgroundRole());

        add("top-left-" + look, corner(view.captionbarLeft, body, window, Side::Left));
        add("top-right-" + look, corner(view.captionbarRight, body, window, Side::Right));

        // The window stretches the middle, the edges and the bottom; xfwm4 repeats its pieces.
        // Each is written as long as the sample window shows it, so a frame of that size is
        // exact, and a warning says where another size is not.
        const QImage caption = drawnBy(view.captionbar, body);
        if (columnsVary(caption))
            warn(StyleFiles::name(Piece::CaptionBar, window),
                QStringLiteral("varies across its width: the window stretches it, xfwm4 repeats "
                               "it, so the theme's caption middle differs from the preview's"),
                "tiled-varies");
        // xfwm4 sets the title text between title-2 and title-4 by their widths: one column.
        const QImage column = caption.copy(0, 0, 1, caption.height());
        for (int part = 1; part <= 5; ++part)
            add("title-" + QByteArray::number(part) + '-' + look,
                part == 2 || part == 4 ? column : caption);

        const QImage left = drawnBy(view.frameleft, body);
        const QImage right = drawnBy(view.frameright, body);
        if (rowsVary(left) || rowsVary(right))
            warn(StyleFiles::name(Piece::SideEdge, window),
                QStringLiteral("varies down its length: the window stretches it, xfwm4 repeats "
                               "it, so the theme's side edges match the preview only on a "
                               "window of the sample window's height"),
                "tiled-varies");
        add("left-" + look, left);
        add("right-" + look, right);

        const QImage bottom = drawnBy(view.framebottom, body);
        if (columnsVary(bottom))
            warn(StyleFiles::name(Piece::BottomEdge, window),
                QStringLiteral("varies across its width: the window stretches it, xfwm4 repeats "
                               "it, so the theme's bottom edge matches the preview only on a "
                               "window of the sample window's width"),
                "tiled-varies");
        add("bottom-" + look, bottom);
        add("bottom-left-" + look, drawnBy(view.framebottomLeft, body));
        add("bottom-right-" + look, drawnBy(view.framebottomRight, body));
    }

    // The corner as the window shows it, the body colour baked in where its colour key lets
    // the body through; alpha 0 only where the mask's cut-away corner shows, which the window
    // draws in the mask's colour and xfwm4 leaves to the desktop.
    QImage corner(ImageControl* control, const QColor& body, Window window, Side side)
    {
        QImage image = drawnBy(control, body);
        const QImage& mask = this->mask(side);
        const char* name = StyleFiles::name(Piece::CaptionCorner, window, side);
        const QImage picture = readBitmap(file(name));
        const QRgb outer = mask.pixel(side == Side::Left ? 0 : mask.width() - 1, 0);
        int partial = 0;
        for (int y = 0; y < std::min(image.height(), mask.height()); ++y) {
            for (int x = 0; x < std::min(image.width(), mask.width()); ++x) {
                if (mask.pixel(x, y) != outer)
                    continue;
                const bool inside = x < picture.width() && y < picture.height();
                const int alpha = inside ? qAlpha(picture.pixel(x, y)) : 0;
                if (alpha == 255)
                    continue;
                if (alpha > 0)
                    ++partial;
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
            }
        }
        if (partial > 0) {
            const bool one = partial == 1;
            warn(name,
                QStringLiteral("%1 of the mask's cut-away corner %2 covered only in part: the "
                               "window blends %3 with the mask, xfwm4 keeps a pixel only at full "
                               "alpha and leaves %3 out")
                    .arg(one ? QStringLiteral("1 pixel") : QStringLiteral("%1 pixels").arg(partial),
                        one ? QStringLiteral("is") : QStringLiteral("are"),
                        one ? QStringLiteral("it") : QStringLiteral("them")),
                "partial-alpha");
        }
        return image;
    }

    const QImage& mask(Side side)
    {
        QImage& mask = side == Side::Left ? m_maskLeft : m_maskRight;
        if (mask.isNull())
            mask = readBitmap(file(StyleFiles::name(Piece::Mask, Window::Both, side)))
                       .convertToFormat(QImage::Format_RGB32);
        return mask;
    }

    // The face and glyph of the pointer's look, loaded into the focused window's own controls
    // as its live button loads them; a glyph the style lacks keeps the normal one.
    void showLook(const SampleWindowView& view, const ThemeButton& button, State state)
    {
        ImageControl* face = view.*button.face;
        ImageControl* glyph = view.*button.glyph;
        const QByteArray facePath = file(StyleFiles::faceFile(state));
        QImage& read = m_faces[int(state)];
        if (read.isNull())
            read = readBitmap(facePath);
        face->setPicture(read, facePath);
        const char* glyphName = StyleFiles::glyphFile(button.styleButton, state);
        if (PictureKit::absent(file(glyphName))) {
            warn(glyphName,
                QStringLiteral("is not in the style: the theme's %1-%2 shows the normal glyph %3")
                    .arg(QLatin1String(button.name),
                        QLatin1String(state == State::Over ? "prelight" : "pressed"),
                        QLatin1String(StyleFiles::glyphFile(button.styleButton, State::Normal))),
                "glyph-fallback");
            glyph->loadFromFile(file(StyleFiles::glyphFile(button.styleButton, State::Normal)));
            return;
        }
        glyph->loadFromFile(file(glyphName));
    }

    void addButton(const ThemeButton& button, const char* look, const SampleWindowView& view)
    {
        ImageControl* face = view.*button.face;
        ImageControl* glyph = view.*button.glyph;
        const QPoint at = glyph->pos() - face->pos();
        const QRect area = QRect(QPoint(), face->size()) | QRect(at, glyph->size());
        QImage shown(area.size(), QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        {
            QPainter painter(&shown);
            painter.drawImage(-area.topLeft(), face->displayedPicture());
            painter.drawImage(at - area.topLeft(), glyph->displayedPicture());
        }
        shown = shown.convertToFormat(QImage::Format_ARGB32);
        if (QByteArrayView(look) == "active" && QByteArrayView(button.name) == "close")
            m_closeArea = area.translated(face->pos());

        // xfwm4 centres a button in the caption at (height - its height + 1) / 2: transparent
        // rows above or below put the face where the form has it.
        const int top = (face->y() + area.top()) * m_scale;
        const int height = area.height() * m_scale;
        const int caption = captionHeight() * m_scale;
        int above = 0;
        int below = 0;
        bool found = false;
        for (int pad = 0; pad <= caption + height + top && !found; ++pad) {
            for (int p = 0; p <= pad && !found; ++p) {
                if (cDiv(caption - (height + pad) + 1, 2) + p == top) {
                    above = p;
                    below = pad - p;
                    found = true;
                }
            }
        }
        const QImage scaled = PictureKit::magnified(shown, m_scale);
        QImage padded(scaled.width(), scaled.height() + above + below, QImage::Format_ARGB32);
        padded.fill(Qt::transparent);
        {
            QPainter painter(&padded);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, above, scaled);
        }
        m_theme.pictures.append({ QByteArray(button.name) + '-' + look + ".png", padded });
    }

    int captionHeight() const { return m_panel.captionbar_active->height(); }

    QByteArray themerc(const SampleWindowView& active, const SampleWindowView& inactive) const
    {
        const int n = m_scale;
        const int width = m_panel.state().ActiveWidth;
        const int frameLeft = active.frameleft->width() * n;
        const int frameRight = active.frameright->width() * n;
        const int cornerLeft = active.captionbarLeft->width() * n;
        // The close button's right end keeps the focused sample window's distance from the
        // frame's right edge, maximized (no border) or not.
        const int fromRight = (width - m_closeArea.left() - m_closeArea.width()) * n;
        const int buttonOffset = fromRight - frameRight;
        const int spacing = kButtonSpacing * n;

        // With no button on the left, xfwm4 starts the title at the left edge plus the button
        // offset less one spacing, at least past the corner; title-2 then comes before the text.
        const int titleStart = std::max(frameLeft + buttonOffset - spacing, cornerLeft);
        const int column = n;
        const int horizontal = active.caption->x() * n - titleStart - column;
        const auto vertical = [&](const QLabel* label) {
            return (label->y() - cDiv(captionHeight() - label->height(), 2)) * n;
        };
        const QFont font = active.caption->font();
        const QString family = QFontInfo(font).family();
        const int pixels = QFontInfo(font).pixelSize() * n;

        const QColor activeText = active.caption->palette().color(QPalette::WindowText);
        const QColor inactiveText = inactive.caption->palette().color(QPalette::WindowText);
        QByteArray rc;
        const auto set = [&rc](const char* key, const QByteArray& value) {
            rc += QByteArray(key) + '=' + value + '\n';
        };
        rc += "# Written by framewright-style export xfwm4: every setting that changes the\n"
              "# frame's look, so that the user's own xfwm4 settings do not.\n";
        set("active_text_color", colourText(activeText));
        set("inactive_text_color", colourText(inactiveText));
        set("active_text_shadow_color", colourText(activeText));
        set("inactive_text_shadow_color", colourText(inactiveText));
        set("button_layout", "|HMC");
        set("button_offset", QByteArray::number(buttonOffset));
        set("button_spacing", QByteArray::number(spacing));
        set("frame_border_top", "0");
        set("full_width_title", "true");
        set("maximized_offset", QByteArray::number(fromRight));
        set("show_app_icon", "false");
        set("title_alignment", "left");
        set("title_font",
            family.toUtf8() + (font.bold() ? " Bold " : " ") + QByteArray::number(pixels) + "px");
        set("title_horizontal_offset", QByteArray::number(horizontal));
        set("title_shadow_active", "false");
        set("title_shadow_inactive", "false");
        set("title_vertical_offset_active", QByteArray::number(vertical(active.caption)));
        set("title_vertical_offset_inactive", QByteArray::number(vertical(inactive.caption)));
        return rc;
    }

    const QByteArray m_dir;
    const int m_scale;
    ThemeExport& m_theme;
    PreviewPanel m_panel;
    QImage m_maskLeft;
    QImage m_maskRight;
    QImage m_faces[5];
    QRect m_closeArea;
};

} // namespace

QList<ThemeExport::File> ThemeExport::files() const
{
    QList<File> files;
    for (const Picture& picture : pictures)
        files.append({ picture.name,
            PictureKit::encoded(picture.image.convertToFormat(QImage::Format_ARGB32)) });
    files.append({ "themerc", themerc });
    return files;
}

ThemeExport ThemeExport::fromStyle(const QByteArray& styleDir, int scale)
{
    ThemeExport theme;
    try {
        Exporter(styleDir, std::clamp(scale, 1, kLargestScale), theme).run();
    } catch (const std::exception& error) {
        theme = ThemeExport();
        theme.failure = ErrorText::shown(error);
    }
    return theme;
}
