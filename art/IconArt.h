// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ArtKit.h"

namespace art {

void drawWindowIcon(const Output& out);
void drawAppIcons(const Output& out);
void drawToolBar(const Output& out);
void drawImageLists(const Output& out);

} // namespace art
