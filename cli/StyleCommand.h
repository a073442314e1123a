// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

// The program's commands, check and render, on the arguments as raw bytes (the program's name
// first). Returns the exit status: 0 success, 1 problems found, 2 bad usage.
int runStyleCommand(const QList<QByteArray>& arguments);
