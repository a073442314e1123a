// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <utility>

// The symbolic colours an XPM can name ("s active_color_1"), each name with the text of its
// colour, looked up without regard to case, first match wins.
using ColourSymbols = QList<std::pair<QByteArray, QByteArray>>;

namespace XpmReader {

// The largest picture read; a header declaring more is refused before anything is allocated.
constexpr int kLargestSide = 4096;

// Reads an XPM as xfwm4 4.18's own reader does, not as Qt's: the colour of an entry is its
// symbol's when symbols knows it, else the highest of c, g, g4 (m alone gives none); a colour
// that is "None", absent or unparsable is transparent black; a pixel naming no entry takes the
// first entry's colour; a row that is missing or too short stays transparent. Returns
// Format_ARGB32 with alpha 0 or 255, or a null image with why set when the header is unusable.
QImage read(const QByteArray& bytes, const ColourSymbols& symbols, QByteArray* why = nullptr);

// A colour as the reader parses it: #rgb, #rrggbb, #rrrgggbbb, #rrrrggggbbbb or an X11 name.
bool parseColour(const QByteArray& text, QRgb& rgb);

} // namespace XpmReader
