// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "review/PictureKit.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

// One picture encoded into memory through the writer framewright-style writes its files with,
// on the program's side and the floor's alike: neither pays for the state the other's painting
// left behind. The size of what was written.
inline qint64 encodePicture(const QImage& picture, const char* format = "png")
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    PictureKit::encode(writer, picture);
    return buffer.size();
}
