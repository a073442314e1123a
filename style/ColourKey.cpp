// SPDX-License-Identifier: GPL-3.0-or-later
#include "style/ColourKey.h"

namespace ColourKey {

QRgb of(const QImage& picture)
{
    if (picture.isNull())
        return 0;
    return picture.pixel(0, picture.height() - 1) | 0xff000000u;
}

QImage apply(const QImage& picture)
{
    if (picture.isNull())
        return picture;
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = of(keyed);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            const QRgb rgb = line[x] | 0xff000000u;
            line[x] = rgb == key ? 0u : rgb;
        }
    }
    return keyed;
}

} // namespace ColourKey
