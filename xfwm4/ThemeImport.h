// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>

// An xfwm4 theme brought in as a Framewright style.
namespace ThemeImport {

struct Style
{
    // Every file of the style table, by name: PNG pictures and the two BMP masks.
    QHash<QByteArray, QImage> files;
    // Each thing the import had to change or leave out, one line each.
    QList<QByteArray> adaptations;
};

struct Result
{
    int status = 0; // 0 written, 1 refused or failed
    QByteArray error; // the one line of a refusal or failure
    Style style;
    int written = 0;
};

// The theme's xfwm4 folder: THEME/xfwm4, or THEME itself when it is that folder; empty when
// neither is a directory.
QByteArray xfwm4Folder(const QByteArray& theme);

// Reads the theme in folder (its xfwm4 folder) and makes the style in memory. status 1 when the
// themerc cannot be read or the theme has no frame piece at all.
Result build(const QByteArray& folder);

// The whole command: read THEME, refuse a DIR that is THEME, inside it or holding it, or that
// is not empty (unless force), then write the style whole into a hidden folder beside DIR and
// move it into place.
Result importTheme(const QByteArray& theme, const QByteArray& dir, bool force);

} // namespace ThemeImport
