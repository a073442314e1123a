// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ImageList.h"

#include "style/BitmapReader.h"

ImageList::ImageList(const QString& resourceDir, int count, QSize size)
    : m_size(size)
{
    m_images.reserve(count);
    for (int i = 0; i < count; ++i)
        m_images.append(QPixmap::fromImage(
            readResourceBitmap(QStringLiteral("%1/%2.png").arg(resourceDir).arg(i))));
}
