// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "preview/StyleWatch.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <variant>

// What the window starts with: the style directories given as arguments, in order, each as the
// style box holds it, and whether to reload the style shown when its files change.
struct StartOptions
{
    QStringList styleDirs;
    bool watch = false;
    std::chrono::milliseconds quietPeriod = StyleWatch::kQuietPeriod;
};

// Answers --help and --version, and turns away options nobody takes and directories that are no
// directories, before the application object exists: the X11 platform aborts without a display,
// and these need none. Qt's own options are left in place for the application object. The
// arguments are argv's own bytes, so that a name that is no valid UTF-8 is refused rather than
// turned into another path. Returns the exit status when the program should end here, else what
// the window starts with.
std::variant<int, StartOptions> handleCommandLine(
    const QList<QByteArray>& arguments, const QString& workingDir);

// A style directory's text as the style box holds it: made absolute against workingDir, cleaned
// without resolving symlinks, and ending in "/", since every style file path is this text
// followed directly by a file name.
QString styleDirText(const QString& path, const QString& workingDir);

// Whether bytes are valid UTF-8: a name that is not must never be turned into another one.
bool isValidUtf8(const QByteArray& bytes);
