// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/Shape.h"

#include "controls/FormColours.h"

#include <QPainter>

Shape::Shape(QWidget* parent)
    : QWidget(parent)
{ }

void Shape::setBrushBgr(int bgr)
{
    m_brushBgr = bgr;
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(colourFromBgr(m_brushBgr));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
