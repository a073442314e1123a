// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The window description stores colours as 0x00BBGGRR, blue in the high byte, the other way
// round from QColor(QRgb): this is the one place that turns them around.
inline QColor colourFromBgr(int bgr)
{
    return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
}
