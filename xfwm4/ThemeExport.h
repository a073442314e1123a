// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "style/StyleCheck.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// An xfwm4 theme made from what the preview shows after a load pass of a style: every piece
// and button picture taken from the composed pictures of the sample windows' image controls,
// and a themerc that fixes every setting that changes the frame's look. It is held in memory;
// ThemeWriter puts it on disk.
struct ThemeExport
{
    static constexpr int kLargestScale = 3;

    struct Picture
    {
        QByteArray name; // inside the theme's xfwm4/ folder, such as "top-left-active.png"
        QImage image; // ARGB32: alpha 0 or 255 only, as xfwm4 keeps no other
    };
    struct File
    {
        QByteArray name;
        QByteArray bytes;
    };

    // The window's message when the load pass, or the live button for its over and press
    // looks, stopped at a file; nothing else is set then.
    QString failure;
    // What xfwm4 will draw other than the window does, all warnings (rules partial-alpha,
    // tiled-varies, glyph-fallback); the file is the style's file it comes from.
    QList<StyleProblem> problems;
    QList<Picture> pictures;
    QByteArray themerc;

    bool failed() const { return !failure.isEmpty(); }
    // The pictures as PNG (always with an alpha channel) and the themerc, in writing order.
    QList<File> files() const;

    // Builds the preview panel offscreen, runs the load pass over styleDir (joined with the
    // names by exactly one '/') and takes the theme from it, every piece, offset and spacing
    // scale times (1 to kLargestScale), nearest neighbour. Never throws.
    static ThemeExport fromStyle(const QByteArray& styleDir, int scale = 1);
};
