// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

class QImageWriter;
class QPainter;

// What the review pictures (the contact sheet, the states grid, the diff) have in common: their
// one font, the grid their cells stand in, a cell for a file that failed or is absent, sharp
// magnification.
namespace PictureKit {

// How a cell stands: its picture shown, its optional file not in the style, or its file
// missing or unreadable.
enum class Status { Shown, Absent, Failed };

constexpr int kPadding = 8;
constexpr int kMessageWidth = 240; // a failed cell is at least this wide, for its message

// The one font every picture writes in, the application's: the README pins it through
// fontconfig, so the pictures come out alike on every machine that follows it.
QFont font(bool bold = false);

// The distinct messages of the failed cells, in cell order.
template<typename Cells>
QStringList failures(const Cells& cells)
{
    QStringList messages;
    for (const auto& cell : cells)
        if (cell.status == Status::Failed && !messages.contains(cell.message))
            messages.append(cell.message);
    return messages;
}

// Rows of cells under an optional header line, each row with its title on the left: every
// column as wide as its widest cell, every row as high as its highest, kPadding between them.
class Grid
{
public:
    // columnsIndent: how far right of the titles the first column starts.
    Grid(int titleWidth, int headerHeight, int columnsIndent);

    void fit(int row, int column, QSize size);
    int columnWidth(int column) const { return m_columnWidths.value(column); }
    int rowHeight(int row) const { return m_rowHeights.value(row); }

    QSize size() const;
    QRect cell(int row, int column) const;
    QRect title(int row) const;
    QRect header(int column) const;

private:
    int m_titleWidth = 0;
    int m_headerHeight = 0;
    int m_columnsIndent = 0;
    QList<int> m_columnWidths;
    QList<int> m_rowHeights;
};

// The file is not there at all (rather than there and unreadable), without opening it.
bool absent(const QByteArray& path);

// Nearest neighbour, so every pixel stays a sharp square.
QImage magnified(const QImage& picture, int scale);

// Light and dark squares behind a picture, so what is left out or transparent shows.
void paintCheckerboard(QPainter& painter, const QRect& area, int square = 4);

// A failed cell: red, with the file's name (if any) and the window's message, wrapped to the
// cell's width.
void paintFailed(QPainter& painter, const QRect& area, const QString& name, const QString& message);
// An absent optional file's cell: grey and dashed, saying so.
void paintAbsent(QPainter& painter, const QRect& area, const QString& name);
// The height paintFailed needs at that width.
int failedHeight(const QString& name, const QString& message, int width);
int absentHeight(const QString& name);

// The text of an absent optional file's cell.
QString absentText();

int lineHeight();
int textWidth(const QString& text, bool bold = false);

// writer.write(picture), with the processor's vector registers made ready for the encoder
// first. Every picture written goes through here.
bool encode(QImageWriter& writer, const QImage& picture);
// The picture's file in memory, in format ("png", "bmp"); empty when it cannot be encoded.
QByteArray encoded(const QImage& picture, const char* format = "png");

} // namespace PictureKit
