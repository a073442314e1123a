// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// Every picture of a theme is 32 bits a pixel (ARGB32 or RGB32) here, so a pixel is read and
// written in place, without QImage::pixel's conversion per call.
namespace Pixels {

inline QRgb at(const QImage& image, int x, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

// A row to read or write along: the image detached once, not at every pixel.
inline const QRgb* row32(const QImage& image, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

inline QRgb* row32(QImage& image, int y)
{
    return reinterpret_cast<QRgb*>(image.scanLine(y));
}

inline void set(QImage& image, int x, int y, QRgb colour)
{
    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
}

} // namespace Pixels
