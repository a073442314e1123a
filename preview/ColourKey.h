// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// The window's colour key: every pixel of the bottom-left pixel's RGB left out, whatever alpha
// the file carried; every other pixel drawn opaque. Returns Format_ARGB32.
QImage applyColourKey(const QImage& picture);

// The colour applyColourKey leaves out of picture, opaque.
QRgb colourKeyOf(const QImage& picture);
