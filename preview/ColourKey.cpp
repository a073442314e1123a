// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/ColourKey.h"

QRgb colourKeyOf(const QImage& picture)
{
    return picture.pixel(0, picture.height() - 1) | 0xff000000u;
}

QImage applyColourKey(const QImage& picture)
{
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
    const int width = keyed.width();
    const int height = keyed.height();
    const QRgb key = colourKeyOf(keyed);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb rgb = line[x] | 0xff000000u;
            line[x] = rgb == key ? 0u : rgb;
        }
    }
    return keyed;
}
