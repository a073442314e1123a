// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The one way the program reads a bitmap file. The kind (PNG or BMP) comes from the file
// name's extension, never from the content: a name ending in neither fails before the disk is
// touched. Nothing is cached: every call reads the disk. Returns Format_RGB32, or
// Format_ARGB32 (not premultiplied) when the file carries alpha, so colour keys compare plain
// RGB. Throws AppError: cannotOpen when the file cannot be opened or read, formatNotRecognized
// when its content is not a valid, complete image of that kind. Pixels a run-length BMP skips
// take its first palette colour.
QImage readBitmap(const QByteArray& path);

// The program's own pictures, compiled into it (":/..."), read the same way: the format from the
// name, no probing of image plugins.
QImage readResourceBitmap(const QString& path);

// The decoding both share: name gives the kind, bytes the content.
QImage decodeBitmap(const QByteArray& name, const QByteArray& bytes);
