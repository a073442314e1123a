// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/SplitterBar.h"

#include "controls/DockLayout.h"

#include <QMouseEvent>
#include <algorithm>

SplitterBar::SplitterBar(QWidget* parent)
    : QWidget(parent)
{
    setCursor(Qt::SplitHCursor);
}

QWidget* SplitterBar::resizedPane() const
{
    auto* layout = qobject_cast<DockLayout*>(parentWidget() ? parentWidget()->layout() : nullptr);
    return layout ? layout->leftNeighbour(this) : nullptr;
}

int SplitterBar::constrainedWidth(int requested) const
{
    const QWidget* pane = resizedPane();
    auto* layout = qobject_cast<DockLayout*>(parentWidget()->layout());
    if (!pane || !layout)
        return requested;
    int others = 0;
    const QList<QWidget*> lefts = layout->leftDocked();
    for (const QWidget* w : lefts)
        if (w != pane)
            others += w->width();
    const int limit = std::max(0, parentWidget()->width() - kMinPane - others);
    const int width = std::min(requested, limit);
    return width <= kMinPane ? 0 : width;
}

void SplitterBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pane = resizedPane();
    m_pressX = int(event->globalPosition().x());
    m_startWidth = m_pane ? m_pane->width() : 0;
    m_dragging = m_pane != nullptr;
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        resizePane(m_startWidth + int(event->globalPosition().x()) - m_pressX);
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        resizePane(m_startWidth + int(event->globalPosition().x()) - m_pressX);
        m_dragging = false;
    }
}

void SplitterBar::resizePane(int requested)
{
    const int width = constrainedWidth(requested);
    if (width == m_pane->width())
        return;
    m_pane->resize(width, m_pane->height());
    parentWidget()->layout()->setGeometry(parentWidget()->contentsRect());
}
