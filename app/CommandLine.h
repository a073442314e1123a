// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <optional>

// Answers --help and --version, and turns away options nobody takes, before the application
// object exists: the X11 platform aborts without a display, and these need none. Qt's own
// options are left in place for the application object. Returns the exit status when the
// program should end here, nothing when it should start.
std::optional<int> handleCommandLine(const QStringList& arguments);
