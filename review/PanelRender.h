// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "style/StyleFiles.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// The preview panel as the window shows it after its first load pass of a style, drawn without
// the window: the same panel, the same pass, the live button's own handlers for the chosen look.
struct PanelRender
{
    QImage picture;
    // The message of the file that stopped the pass or the button, as thrown; empty when none.
    QString failure;
    QFont captionFont; // the captions' font as drawn, for the conditions a reference carries
};

// dir is joined with the file names by exactly one '/'. Never throws: a failing file ends the
// pass there, as in the window, and the picture shows how far it got. A valid windowSize
// composes both sample windows at that size (see PreviewPanel::setSampleWindowSize) in place of
// the form's; the caller keeps it within PreviewPanel's smallest and largest window.
PanelRender renderPanel(const QByteArray& dir, StyleFile::State look, QSize windowSize = {});

struct PictureDifference
{
    qint64 pixels = 0; // pixels that differ, counting those only one picture covers
    QRect bounds; // of those pixels; empty when none
};

PictureDifference comparePictures(const QImage& picture, const QImage& reference);
// The picture faded to grey with every differing pixel in full red, over the area of both.
QImage markDifferences(const QImage& picture, const QImage& reference);
