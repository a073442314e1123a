// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <exception>

class QPainter;

// What the review pictures (the contact sheet, the states grid) have in common: the window's
// message for a file, a cell for a file that failed or is absent, sharp magnification.
namespace PictureKit {

// How a cell stands: its picture shown, its optional file not in the style, or its file
// missing or unreadable.
enum class Status { Shown, Absent, Failed };

constexpr int kPadding = 8;
constexpr int kMessageWidth = 240; // a failed cell is at least this wide, for its message

// The window's text for what a read threw, as its general error report shows it.
QString messageOf(const std::exception& error);

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

} // namespace PictureKit
