// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "xfwm4/XpmReader.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSet>

// Reading an xfwm4 theme as xfwm4 4.18 reads it: themerc, the symbolic colours and each piece.
namespace ThemeReader {

// The largest file of a theme that is read at all; anything larger counts as unreadable.
constexpr qint64 kLargestFile = 16 * 1024 * 1024;
constexpr int kLargestSide = XpmReader::kLargestSide;

struct Settings
{
    // Every key=value line, keys lower-cased, the last one winning, as xfwm4 keeps them.
    QHash<QByteArray, QByteArray> values;
    // The 24 colours the XPMs may name, after themerc and its one step of indirection.
    ColourSymbols symbols;
};

// The 24 symbolic colours xfwm4 takes from GTK, as GTK 3.24 gives them under Adwaita.
const ColourSymbols& gtkColours();

// themerc read as xfwm4's parseRc reads it: lines of at most 254 bytes, key up to the first
// '=', value to the end of the line, nothing trimmed; then the symbols resolved over gtkColours.
Settings parseThemerc(const QByteArray& bytes);

// A file's bytes, when it is a regular file (after symlinks) of at most kLargestFile bytes;
// else why not, in the system's words where it has some, and with errnum the system's error
// number (0 where the refusal is ours).
bool readFile(const QByteArray& path, QByteArray& bytes, QByteArray& why, int* errnum = nullptr);

// An image file other than an XPM, decoded from its content as the pixbuf loader does; SVG at
// its own size where the build has Qt SVG. Null with why set when refused or unreadable.
QImage decodeImage(const QByteArray& extension, const QByteArray& bytes, QByteArray& why);

// The image over the XPM with alpha, clipped to the smaller of the two; either may be null.
// Then only alpha 255 is opaque, as xfwm4 keeps it: the result has alpha 0 or 255.
QImage compose(const QImage& xpm, const QImage& image);

struct Piece
{
    QImage image; // null: missing or unreadable, as xfwm4 counts it
    QByteArray files; // the files it was made of, "title-1-active.xpm + title-1-active.png"
    QByteArray skipped; // files that were there but could not be used, and why
};

// The piece name (such as "title-1-active") from dir: the .xpm, then the first of .svg, .png,
// .gif, .jpg, .bmp that reads, composed over it. With present (the names dir holds), a file not
// among them is not looked for.
Piece readPiece(const QByteArray& dir, const QByteArray& name, const ColourSymbols& symbols,
    const QSet<QByteArray>* present = nullptr);

// The names dir holds, read once, so that a theme's pieces are looked for without a failed open
// for each format it does not use.
QSet<QByteArray> listFolder(const QByteArray& dir);

} // namespace ThemeReader
