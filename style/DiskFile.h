// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Reads a whole regular file from disk, uncached. The path is in the system's local 8-bit
// encoding, exactly as the user's directories spell it. Throws AppError::cannotOpen with the
// C library's reason when the file cannot be opened or read (a directory fails with
// "Is a directory"). A FIFO, socket or device is never waited on: it reads as zero bytes.
QByteArray readWholeFile(const QByteArray& path);
