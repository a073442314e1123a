// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "xfwm4/ThemeExport.h"

#include <QByteArray>
#include <functional>

// Puts a theme's files into THEME/xfwm4 so that nothing is ever lost or half written: the files
// go whole into a hidden folder beside xfwm4/, which then takes xfwm4/'s place in one rename
// (with replace, exchanged with the old one by renameat2 RENAME_EXCHANGE, so only xfwm4/ is
// replaced and whatever else THEME holds stays). A process killed at any moment leaves
// THEME/xfwm4 absent, old and whole, or new and whole, plus at most the hidden folder, which
// the next write removes first.
namespace ThemeWriter {

// The folder the files are written into before they take xfwm4/'s place.
extern const char kHiddenFolder[];

enum class Outcome { Written, Refused, Failed };

struct Result
{
    Outcome outcome = Outcome::Failed;
    // Refused or Failed: the path as given (raw bytes), then what is wrong or the system's reason.
    QByteArray message;
};

// The theme name xfwm4 knows it by: THEME's last path component.
QByteArray themeName(const QByteArray& themeDir);
// xfwm4 takes theme names over D-Bus, as UTF-8.
bool validName(const QByteArray& themeDir);
// THEME/xfwm4 holds something (a folder with entries, or anything else by that name).
bool occupied(const QByteArray& themeDir);

// Writes files into themeDir/xfwm4, creating themeDir if need be. step, when given, is called
// before each thing done on disk (for a test that stops the process there).
Result write(const QByteArray& themeDir, const QList<ThemeExport::File>& files, bool replace,
    const std::function<void(int)>& step = {});

} // namespace ThemeWriter
