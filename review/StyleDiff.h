// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "review/PanelRender.h"
#include "style/StyleFiles.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// A file of the style table that is not the same in two style directories.
struct StyleFileChange
{
    enum class Kind { Differs, OnlyInOld, OnlyInNew, Unreadable };
    const char* name = "";
    Kind kind = Kind::Differs;
    QString message; // for Unreadable: the reader's message, naming the file it could not read
};

// What a change to a style does: both renders, the table files that changed and the picture
// that shows OLD, NEW and the pixels between them.
struct StyleDiff
{
    PanelRender oldRender;
    PanelRender newRender;
    // Whether both directories could be listed; only then do the files say anything.
    bool listed = false;
    QList<StyleFileChange> files;
    PictureDifference difference;
    QImage picture;

    bool identical() const
    {
        return oldRender.failure.isEmpty() && newRender.failure.isEmpty() && files.isEmpty()
            && difference.pixels == 0;
    }
};

// Renders both directories with the same look and sample window size (the form's when empty)
// and compares them file by file and pixel by pixel. The labels name the directories on the
// picture. Never throws.
StyleDiff diffStyles(const QByteArray& oldDir, const QByteArray& newDir, StyleFile::State look,
    const QString& oldLabel, const QString& newLabel, QSize windowSize = {});

// The style table's files whose bytes differ between the directories, in the table's order;
// a file neither holds is no change.
QList<StyleFileChange> changedStyleFiles(const QByteArray& oldDir, const QByteArray& newDir);

// OLD, NEW, and NEW faded with the pixels that differ from OLD in red, side by side, each under
// its label.
QImage sideBySide(const QImage& oldPicture, const QImage& newPicture, const QString& oldLabel,
    const QString& newLabel);
