// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// framewright-style import xfwm4 THEME -o DIR [--force]: arguments are the parser's (program
// name first, each byte as the Latin-1 character of its code). Returns 0 when the style is
// written, 1 when the theme or DIR is refused, 2 for bad usage.
int runImportCommand(const QStringList& arguments);
