// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/AppLook.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

void prepareApplication()
{
    // The layout is used at its stated pixel sizes on any screen.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
}

void applyApplicationLook()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The style's own colours, not the desktop theme's: a dark theme would otherwise turn the
    // views and editors dark under the window's fixed colours.
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setApplicationName(QStringLiteral("framewright"));
    QApplication::setApplicationDisplayName(QStringLiteral("Framewright"));
    QApplication::setDesktopFileName(QStringLiteral("framewright"));
}
