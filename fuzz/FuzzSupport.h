// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImageReader>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

// What both targets share: a warning from Qt means bad bytes got past our own checks, as it does
// in the unit tests, so it ends the run like a crash and libFuzzer keeps the input.
namespace FuzzSupport {

inline void abortOnWarning(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    std::fprintf(stderr, "Qt message during fuzzing: %s\n", qPrintable(message));
    std::abort();
}

// At Qt's default limit of 256 MiB a 64 KiB run-length BMP or PNG can ask for a picture of a
// quarter of a gigabyte, and the run is spent filling memory. The reader checks against whatever
// the limit is, so a small one exercises the same code.
inline void limitPictures()
{
    QImageReader::setAllocationLimit(8);
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace FuzzSupport
