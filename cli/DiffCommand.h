// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "review/PanelRender.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// "N pixels differ from FROM, within WxH at (x, y)", the one wording of a render's difference.
QByteArray differenceLine(const PictureDifference& difference, const QByteArray& from);

// framewright-style diff OLD NEW -o FILE.png [--minimize STATE] [--size WxH], on the arguments as
// the parser sees them (the program's name first, then diff's own). Returns 0 when the styles
// render and hold the same, 1 when they differ or a pass stops, 2 for bad usage.
int runDiff(const QStringList& arguments);
