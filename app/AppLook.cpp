#include "app/AppLook.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <fontconfig/fontconfig.h>
#include <functional>
#include <optional>
#include <thread>

namespace {

// Qt's raster engine hands every blend of 96 or more spans to its global thread pool and waits
// until the pool is done. A span is a run of pixels in one row: a thin line is one span per row
// if it runs down and one per pixel if it runs across. Fusion draws its tab frames and scroll bars
// with translucent lines and gradients the whole length of the element, so the first frame alone
// handed work over about a hundred and seventy times, and each hand-over took far longer than the
// drawing it handed over. Drawn in pieces short enough along each line, no blend gets that many
// spans and the drawing stays on this thread. The pieces cover the whole plane, so nothing the
// element draws outside its rectangle is lost, and each pixel is drawn in exactly one piece.
constexpr int kFar = 1 << 20; // beyond any paint device, and no overflow in a rectangle's size
constexpr int kPiece = 80; // with a few rows or columns of the crossing edge, still below 96

using Draw = std::function<void()>;

// Where the painter's coordinates are its device's at a plain offset: that offset.
std::optional<QPoint> deviceOffset(const QPainter* painter)
{
    const QTransform toDevice = painter->deviceTransform();
    if (toDevice.type() > QTransform::TxTranslate)
        return std::nullopt;
    return QPoint(qRound(toDevice.dx()), qRound(toDevice.dy()));
}

// A widget's painter is clipped to what of the widget shows, often a region of several
// rectangles. Clipped to a piece of such a region, the painter would work through every line of
// the element to find its spans in the piece; clipped to one rectangle, it cuts the lines to it
// first. So pieces are cut further along the region's own rectangles: those, in the painter's
// coordinates, or an empty region where one rectangle bounds what shows.
QRegion shownParts(const QPainter* painter)
{
    const QRegion shown = painter->paintEngine() ? painter->paintEngine()->systemClip() : QRegion();
    const std::optional<QPoint> offset = deviceOffset(painter);
    if (shown.rectCount() <= 1 || painter->hasClipping() || !offset)
        return QRegion();
    return shown.translated(-*offset);
}

void drawClipped(QPainter* painter, const QRegion& shown, const QRect& piece, const Draw& draw)
{
    const auto clippedTo = [&](const QRect& part) {
        painter->save();
        painter->setClipRect(part, Qt::IntersectClip);
        draw();
        painter->restore();
    };
    if (shown.isEmpty()) {
        clippedTo(piece);
        return;
    }
    for (const QRect& part : shown & piece)
        clippedTo(part);
}

// [from, to] cut into runs of kPiece; where open, the first starts at -kFar and the last ends
// at kFar.
QList<QPair<int, int>> cuts(int from, int to, bool open)
{
    QList<QPair<int, int>> runs;
    for (int start = from; start <= to; start += kPiece)
        runs.append({ start == from && open ? -kFar : start,
            start + kPiece > to && open ? kFar : std::min(start + kPiece - 1, to) });
    return runs;
}

// An element thin across and long along: cut along its length.
void drawAlong(QPainter* painter, const QRegion& shown, const QRect& rect,
    Qt::Orientation orientation, const Draw& draw)
{
    const bool vertical = orientation == Qt::Vertical;
    const auto runs = vertical ? cuts(rect.top(), rect.bottom(), true)
                               : cuts(rect.left(), rect.right(), true);
    if (runs.size() == 1) {
        draw();
        return;
    }
    for (const auto& [first, last] : runs)
        drawClipped(painter, shown,
            vertical ? QRect(QPoint(-kFar, first), QPoint(kFar, last))
                     : QRect(QPoint(first, -kFar), QPoint(last, kFar)),
            draw);
}

// A scroll bar sets a clip of its own for part of its groove, which would undo a piece's clipping.
// So each piece is drawn on a copy of the pixels under it, which nothing drawn can leave, and
// copied back through the painter's clip: the same pixels as drawn in place. Where the painter
// does not paint on a picture at a plain offset, the bar is drawn in place, as one.
void drawOffscreenDown(
    QPainter* painter, const QRect& rect, const std::function<void(QPainter*)>& draw)
{
    constexpr int kMargin = 4; // the bar's outline may reach a pixel or two beyond its rectangle
    QPaintDevice* device = painter->paintEngine() ? painter->paintEngine()->paintDevice() : nullptr;
    QImage* target = device && device->devType() == QInternal::Image ? static_cast<QImage*>(device)
                                                                     : nullptr;
    const std::optional<QPoint> offset = deviceOffset(painter);
    // Each copied-back piece is blended one span per row, in rows a little below 96 even where
    // the painter's clip splits them in two.
    constexpr int kOffscreenPiece = 40;
    if (rect.height() <= kOffscreenPiece || !target || !offset
        || target->devicePixelRatio() != 1) {
        draw(painter);
        return;
    }
    const QRect outer = rect.adjusted(-kMargin, -kMargin, kMargin, kMargin);
    for (int top = outer.top(); top <= outer.bottom(); top += kOffscreenPiece) {
        const QRect piece(QPoint(outer.left(), top),
            QPoint(outer.right(), std::min(top + kOffscreenPiece - 1, outer.bottom())));
        QImage picture = target->copy(piece.translated(*offset))
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        {
            QPainter onto(&picture);
            onto.translate(-piece.topLeft());
            draw(&onto);
        }
        painter->save();
        painter->setCompositionMode(QPainter::CompositionMode_Source);
        painter->drawImage(piece.topLeft(), picture);
        painter->restore();
    }
}

// A frame: its lines run along its four sides, within a few pixels of them. The strips along
// the sides are cut along their length; the inside, where only the flat fill is, is one piece.
void drawFrame(QPainter* painter, const QRect& rect, const Draw& draw)
{
    constexpr int kEdge = 8;
    // An outline is a span per pixel of its perimeter.
    if (rect.width() + rect.height() < 48) {
        draw();
        return;
    }
    const QRegion shown = shownParts(painter);
    const int innerLeft = rect.left() + kEdge;
    const int innerRight = rect.right() - kEdge;
    const int innerTop = rect.top() + kEdge;
    const int innerBottom = rect.bottom() - kEdge;
    if (innerLeft > innerRight || innerTop > innerBottom) {
        drawAlong(painter, shown, rect,
            rect.height() > rect.width() ? Qt::Vertical : Qt::Horizontal, draw);
        return;
    }
    const auto piece = [&](QPoint topLeft, QPoint bottomRight) {
        drawClipped(painter, shown, QRect(topLeft, bottomRight), draw);
    };
    // Left and right strips, full height, out to infinity sideways and at their ends.
    for (const auto& [top, bottom] : cuts(rect.top(), rect.bottom(), true)) {
        piece(QPoint(-kFar, top), QPoint(innerLeft - 1, bottom));
        piece(QPoint(innerRight + 1, top), QPoint(kFar, bottom));
    }
    // Top and bottom strips between them.
    for (const auto& [left, right] : cuts(innerLeft, innerRight, false)) {
        piece(QPoint(left, -kFar), QPoint(right, innerTop - 1));
        piece(QPoint(left, innerBottom + 1), QPoint(right, kFar));
    }
    piece(QPoint(innerLeft, innerTop), QPoint(innerRight, innerBottom));
}

// Fusion, with the extension arrows of menu bars and tool bars drawn here. Fusion reads its own
// from image files, and an icon read from a file makes Qt load every image-format plugin to ask
// it about the file first: at start-up, for a button that only shows when the menu bar is too
// narrow for its menus. Tall tab frames and upright scroll bars are drawn in pieces, for the
// reason given above kFar.
class FrameStyle : public QProxyStyle
{
public:
    FrameStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    { }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget) const override
    {
        if (element == PE_FrameTabWidget && option && painter)
            drawFrame(painter, option->rect,
                [&] { QProxyStyle::drawPrimitive(element, option, painter, widget); });
        else
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
        QPainter* painter, const QWidget* widget) const override
    {
        const auto* bar = control == CC_ScrollBar && painter
            ? qstyleoption_cast<const QStyleOptionSlider*>(option)
            : nullptr;
        // Only upright bars: a horizontal one rounds a few pixels of its arrow button
        // differently when drawn this way, and none is that long at start-up.
        if (bar && bar->orientation == Qt::Vertical)
            drawOffscreenDown(painter, bar->rect, [&](QPainter* onto) {
                QProxyStyle::drawComplexControl(control, option, onto, widget);
            });
        else
            QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

    QIcon standardIcon(
        StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        if (which == SP_ToolBarHorizontalExtensionButton
            || which == SP_ToolBarVerticalExtensionButton) {
            const Qt::LayoutDirection direction = option
                ? option->direction
                : (widget ? widget->layoutDirection() : Qt::LeftToRight);
            return extensionArrows(which == SP_ToolBarVerticalExtensionButton, direction);
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }

private:
    // Two chevrons pointing where the hidden entries are: down, or along the reading direction.
    // Set pixel by pixel: the painter's stroking would pull in code the start-up needs nowhere
    // else.
    static QIcon extensionArrows(bool vertical, Qt::LayoutDirection direction)
    {
        constexpr int side = 16;
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        const QRgb ink = qRgb(0x30, 0x30, 0x30);
        for (const int left : { 4, 9 })
            for (int step = 0; step < 4; ++step)
                for (const int row : { 4 + step, 11 - step })
                    for (const int x : { left + step, left + step + 1 }) {
                        const int along
                            = !vertical && direction == Qt::RightToLeft ? side - 1 - x : x;
                        if (vertical)
                            image.setPixel(row, along, ink);
                        else
                            image.setPixel(along, row, ink);
                    }
        return QIcon(QPixmap::fromImage(image));
    }
};

// The first text the window measures makes fontconfig read and parse the system's whole font
// configuration, a good part of the start-up. Nothing the toolkit does while it starts needs
// fonts, so that reading runs on a thread of its own in the meantime; fontconfig keeps the
// result for the process, and the toolkit's font database then finds it ready.
class FontConfigWarmUp
{
    // The system's configuration, with Type 1 files left out. The URW families the window's
    // Helvetica stands for come both as Type 1 and as OpenType files; fontconfig itself prefers
    // the OpenType ones, but the toolkit takes whichever it lists first, and a Type 1 face is
    // read and decrypted whole when it is opened, where an OpenType one is read as needed.
    static void loadFontConfiguration()
    {
        static const char kWithoutType1[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><selectfont><rejectfont><pattern>
<patelt name="fontformat"><string>Type 1</string></patelt>
</pattern></rejectfont></selectfont></fontconfig>)";
        FcConfig* config = FcInitLoadConfig();
        const bool ready = config
            && FcConfigParseAndLoadFromMemory(
                config, reinterpret_cast<const FcChar8*>(kWithoutType1), FcFalse)
            && FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
        if (config)
            FcConfigDestroy(config); // the current configuration keeps its own reference
        if (!ready)
            FcInit();
    }

public:
    void start()
    {
        if (!m_thread.joinable())
            m_thread = std::thread([] { loadFontConfiguration(); });
    }

    void finish()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    ~FontConfigWarmUp() { finish(); }

private:
    std::thread m_thread;
};

FontConfigWarmUp g_fontConfigWarmUp;

} // namespace

void prepareApplication()
{
    g_fontConfigWarmUp.start();
    // The layout is used at its stated pixel sizes on any screen.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
}

void applyApplicationLook()
{
    // Before the first window measures any text.
    g_fontConfigWarmUp.finish();
    QApplication::setStyle(new FrameStyle);
    // Fusion keeps a picture of each control it draws, at the control's size. The style box
    // spans the window, and its face and the panel inside it come to two pictures of about
    // 95 KB each, which would stay for the whole session. Under this limit Fusion draws that box
    // afresh whenever it repaints, and still keeps its small pictures of everything else.
    QPixmapCache::setCacheLimit(90);
    // The style's own colours, not the desktop theme's: a dark theme would otherwise turn the
    // views and editors dark under the window's fixed colours.
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setApplicationName(QStringLiteral("framewright"));
    QApplication::setApplicationDisplayName(QStringLiteral("Framewright"));
    QApplication::setDesktopFileName(QStringLiteral("framewright"));
}
