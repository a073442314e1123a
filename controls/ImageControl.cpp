// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ImageControl.h"

#include "style/BitmapReader.h"
#include "style/ColourKey.h"

#include <QMouseEvent>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

void ImageControl::setPicture(const QImage& picture, const QByteArray& sourcePath)
{
    m_picture = picture;
    m_sourcePath = sourcePath;
    pictureChanged();
}

void ImageControl::loadFromFile(const QByteArray& path)
{
    setPicture(readBitmap(path), path);
}

void ImageControl::paintOver(const QImage& overlay, QPoint at)
{
    if (m_picture.isNull())
        return;
    if (m_picture.format() != QImage::Format_ARGB32 && m_picture.format() != QImage::Format_RGB32)
        m_picture = m_picture.convertToFormat(
            m_picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    {
        QPainter painter(&m_picture);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(at, overlay);
    }
    m_sourcePath.clear();
    pictureChanged();
}

void ImageControl::setDesignFile(const QString& resource)
{
    m_designFile = resource;
    setPicture(readResourceBitmap(resource));
}

void ImageControl::setAutoSize(bool on)
{
    m_autoSize = on;
    applyAutoSize();
    update();
}

void ImageControl::setStretch(bool on)
{
    m_stretch = on;
    update();
}

void ImageControl::setTransparent(bool on)
{
    m_transparent = on;
    pictureChanged();
}

void ImageControl::pictureChanged()
{
    m_display = m_transparent && !m_picture.isNull() ? ColourKey::apply(m_picture) : m_picture;
    applyAutoSize();
    update();
}

void ImageControl::applyAutoSize()
{
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.size());
}

void ImageControl::paintEvent(QPaintEvent*)
{
    if (m_display.isNull())
        return;
    QPainter painter(this);
    if (m_stretch && !m_autoSize)
        painter.drawImage(rect(), m_display);
    else
        painter.drawImage(QPoint(0, 0), m_display);
}

void ImageControl::mouseMoveEvent(QMouseEvent*)
{
    emit mouseMoved();
}

void ImageControl::mousePressEvent(QMouseEvent*)
{
    emit mousePressed();
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton && rect().contains(event->position().toPoint()))
        emit clicked();
    emit mouseReleased();
}

void ImageControl::leaveEvent(QEvent*)
{
    emit mouseLeft();
}
