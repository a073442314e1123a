// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "review/PictureKit.h"
#include "style/StyleFiles.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Every file of a style on one picture, for review: one cell per file of the style table, in
// the order the element tree first names it, each read once by the window's bitmap reader and
// shown at its own size and magnified, with the colour key where the window applies one.
class ContactSheet
{
public:
    static constexpr int kDefaultScale = 4;
    static constexpr int kLargestScale = 8;
    // A magnified copy longer than this is left out.
    static constexpr int kLongestMagnified = 2048;

    struct Cell
    {
        const StyleFile* file = nullptr;
        QString group; // the element tree's caption for the group that first names the file
        PictureKit::Status status = PictureKit::Status::Shown;
        QImage picture; // as the window draws it: keyed where it keys; Shown only
        QSize size; // as read
        std::optional<QRgb> key; // the colour left out, where the window keys the file
        QString message; // Failed: the window's message
    };

    // Reads every file of dir; never throws. dir is joined with the names by exactly one '/'.
    explicit ContactSheet(const QByteArray& dir);

    const QList<Cell>& cells() const { return m_cells; }
    // The distinct messages of the failed cells, in cell order.
    QStringList failures() const;

    // The lines a cell's text shows under its pictures.
    static QStringList describe(const Cell& cell, int scale);
    // How the window draws a file: "cut to 12 x 29", "stretched to 5 wide", "own size".
    static QString drawingText(const StyleFile& file);
    static bool magnifiedLeftOut(const Cell& cell, int scale);

    QImage picture(int scale) const;

private:
    QList<Cell> m_cells;
};
