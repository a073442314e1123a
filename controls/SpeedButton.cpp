// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/SpeedButton.h"

#include "style/BitmapReader.h"
#include "style/ColourKey.h"

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
    setIcon(QIcon(QPixmap::fromImage(ColourKey::apply(picture.toImage()))));
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
