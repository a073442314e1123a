// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The review pictures of framewright-style: sheet (every file of a style) and states (every
// caption button in every state). arguments are the parser's (program name first, each byte as
// the Latin-1 character of its code). Returns the exit
// status: 0 success, 1 a file failed or the picture cannot be written, 2 bad usage.
int runSheetCommand(const QStringList& arguments);
int runStatesCommand(const QStringList& arguments);
