// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// framewright-style export xfwm4 DIR -o THEME ...: the arguments after the command, the
// program's name first, each byte as the Latin-1 character of its code. Returns the exit status.
int runExportCommand(const QStringList& arguments);
