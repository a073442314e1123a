// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ScrollBox.h"

#include <QEvent>

ScrollBox::ScrollBox(QWidget* parent)
    : QScrollArea(parent)
{
    setWidgetResizable(false);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
}

void ScrollBox::followContent()
{
    QWidget* content = widget();
    if (!content)
        return;
    const QList<QWidget*> children = content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        child->installEventFilter(this);
    fitContent();
}

bool ScrollBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
        fitContent();
    return QScrollArea::eventFilter(watched, event);
}

void ScrollBox::fitContent()
{
    QWidget* content = widget();
    if (!content)
        return;
    QSize extent;
    const QList<QWidget*> children = content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* child : children) {
        const QRect g = child->geometry();
        extent = extent.expandedTo(QSize(g.x() + g.width(), g.y() + g.height()));
    }
    if (content->size() != extent)
        content->resize(extent);
}
