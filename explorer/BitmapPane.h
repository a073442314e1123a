// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class IDesktopApi;
class ImageControl;
class QLabel;

// The bitmap pane: the shown bitmap at actual size and magnified, under its file's name.
struct BitmapPaneView
{
    ImageControl* imgActual = nullptr;
    ImageControl* imgZoomed = nullptr;
    QLabel* lblBitmap = nullptr;
};

namespace BitmapPane {

inline constexpr char kPaintProgram[] = "/opt/vela/bin/apps/paint ";

// Shows a copy of the source's current picture, with the file it was read from, under the
// label text (one space, then the file name).
void update(const BitmapPaneView& view, const ImageControl& source, const QString& labelText);

// The command line that opens the shown bitmap's own file in the paint program; empty when the
// shown picture was not read from a file (nothing shown yet, or a composed picture).
QByteArray paintCommand(const BitmapPaneView& view);

// Hands the shown bitmap's file to the paint program, if it has one.
void editShownBitmap(const BitmapPaneView& view, IDesktopApi* desktop);

} // namespace BitmapPane
