// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ToolBar.h"

#include <QPainter>

ToolBar::ToolBar(QWidget* parent)
    : QWidget(parent)
{ }

void ToolBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(dark);
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, bottom - 1, right, bottom - 1);
    painter.setPen(light);
    painter.drawLine(0, 1, right, 1);
    painter.drawLine(0, bottom, right, bottom);
}
