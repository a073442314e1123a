// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

// A fixed list of equally sized pictures, read from the program's resources once.
class ImageList
{
public:
    // Reads "<resourceDir>/<index>.png" for every index below count.
    ImageList(const QString& resourceDir, int count, QSize size);

    int count() const { return int(m_images.size()); }
    QSize imageSize() const { return m_size; }
    QPixmap image(int index) const { return m_images.value(index); }
    QIcon icon(int index) const { return QIcon(image(index)); }

private:
    QList<QPixmap> m_images;
    QSize m_size;
};
