// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/SpeedButton.h"

#include "controls/BitmapReader.h"

#include <QBitmap>
#include <QImage>

SpeedButton::SpeedButton(QWidget* parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void SpeedButton::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    QPixmap keyed = picture;
    if (!picture.isNull()) {
        const QImage image = picture.toImage();
        const QColor key = image.pixelColor(0, image.height() - 1);
        keyed.setMask(QBitmap::fromImage(image.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    }
    setIcon(QIcon(keyed));
    setIconSize(picture.size());
    setToolButtonStyle(picture.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
}

void SpeedButton::setPictureFile(const QString& resource)
{
    m_pictureFile = resource;
    setPicture(QPixmap::fromImage(readResourceBitmap(resource)));
}

void SpeedButton::setGroupIndex(int index)
{
    m_groupIndex = index;
    setCheckable(index != 0);
}
