// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ArtKit.h"

namespace art {

enum class Glyph { Close, Maximize, Minimize, Restore };

// The 13x13 symbol of a caption button, '#' where it is inked.
const Grid& glyphShape(Glyph glyph);

void drawDesignPictures(const Output& out);
void drawStyles(const Output& out);

} // namespace art
