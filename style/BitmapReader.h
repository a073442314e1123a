// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

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
//
// canvasFill is for tests and fuzzing, since Qt's decoders are not instrumented: the decoder
// draws into a canvas of the size and format it would allocate, every byte set to canvasFill,
// and that canvas comes back unconverted, so any byte it never writes shows. Run-length BMPs
// keep the reader's own canvas, whose skipped pixels are meant to stay at index 0.
QImage decodeBitmap(const QByteArray& name, const QByteArray& bytes,
    std::optional<quint8> canvasFill = std::nullopt);
