// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRgb>

// The colour key the window draws its transparent pictures with: every pixel of the colour of
// the picture's bottom-left pixel is left out, whatever alpha the file gave it, and every other
// pixel is drawn opaque. The image control, the speed buttons and the style check all call this.
namespace ColourKey {

// The key colour of a picture (opaque), or 0 for a null picture.
QRgb of(const QImage& picture);

// The picture as drawn with its key left out: ARGB32, key pixels fully transparent.
QImage apply(const QImage& picture);

} // namespace ColourKey
