// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "preview/LiveMinimizeButton.h"
#include "preview/PanelRender.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// The diff command's synopsis, for the program's usage lines and help.
extern const char kDiffUsage[];

// What diff shares with the program's other commands, which own it: the usage error, the
// lines on standard output and error, the whole-or-nothing picture writer, the window's error
// text and the names of the minimize button's looks.
struct CommandKit
{
    int (*badUsage)(const QByteArray& message, const char* usage) = nullptr;
    int (*showHelp)() = nullptr;
    void (*out)(const QByteArray& line) = nullptr;
    void (*err)(const QByteArray& line) = nullptr;
    bool (*writePicture)(const QImage& picture, const QByteArray& path) = nullptr;
    QString (*errorText)(const QString& message) = nullptr;
    bool (*parseLook)(const QString& name, LiveMinimizeButton::Look& look) = nullptr;
};

// "N pixels differ from FROM, within WxH at (x, y)", the one wording of a render's difference.
QByteArray differenceLine(const PictureDifference& difference, const QByteArray& from);

// framewright-style diff OLD NEW -o FILE.png [--minimize STATE], on the arguments as the parser
// sees them (the program's name first, then diff's own). Returns 0 when the styles render and
// hold the same, 1 when they differ or a pass stops, 2 for bad usage.
int runDiff(const QStringList& arguments, const CommandKit& kit);
