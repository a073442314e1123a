// SPDX-License-Identifier: GPL-3.0-or-later
#include "explorer/BitmapPane.h"

#include "controls/ImageControl.h"
#include "explorer/IDesktopApi.h"

#include <QLabel>

namespace BitmapPane {

void update(const BitmapPaneView& view, const ImageControl& source, const QString& labelText)
{
    view.imgActual->setPicture(source.picture(), source.sourcePath());
    view.imgZoomed->setPicture(source.picture(), source.sourcePath());
    view.lblBitmap->setText(labelText);
}

QByteArray paintCommand(const BitmapPaneView& view)
{
    // The record of the file travels with the picture, so a style change since the bitmap was
    // shown cannot send the author to a different file from the one on screen.
    const QByteArray& file = view.imgActual->sourcePath();
    return file.isEmpty() ? QByteArray() : QByteArray(kPaintProgram) + file;
}

void editShownBitmap(const BitmapPaneView& view, IDesktopApi* desktop)
{
    const QByteArray command = paintCommand(view);
    if (!command.isEmpty() && desktop)
        desktop->RunCommand(command, 0);
}

} // namespace BitmapPane
