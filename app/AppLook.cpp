#include "app/AppLook.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <fontconfig/fontconfig.h>
#include <thread>

namespace {

// Fusion, with the extension arrows of menu bars and tool bars drawn here. Fusion reads its own
// from image files, and an icon read from a file makes Qt load every image-format plugin to ask
// it about the file first: at start-up, for a button that only shows when the menu bar is too
// narrow for its menus.
class FrameStyle : public QProxyStyle
{
public:
    FrameStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    { }

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
public:
    void start()
    {
        if (!m_thread.joinable())
            m_thread = std::thread([] { FcInit(); });
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
    // The style's own colours, not the desktop theme's: a dark theme would otherwise turn the
    // views and editors dark under the window's fixed colours.
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setApplicationName(QStringLiteral("framewright"));
    QApplication::setApplicationDisplayName(QStringLiteral("Framewright"));
    QApplication::setDesktopFileName(QStringLiteral("framewright"));
}
