// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/DockLayout.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace {

Qt::Edges anchorsOf(const QWidget* widget)
{
    const QVariant value = widget->property("anchors");
    if (!value.isValid())
        return Qt::LeftEdge | Qt::TopEdge;
    Qt::Edges edges;
    const QStringList names = value.toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& raw : names) {
        const QString name = raw.trimmed();
        if (name == QLatin1String("left"))
            edges |= Qt::LeftEdge;
        else if (name == QLatin1String("top"))
            edges |= Qt::TopEdge;
        else if (name == QLatin1String("right"))
            edges |= Qt::RightEdge;
        else if (name == QLatin1String("bottom"))
            edges |= Qt::BottomEdge;
    }
    return edges;
}

bool isManaged(const QWidget* widget)
{
    return DockLayout::dockOf(widget) != DockLayout::Dock::None
        || widget->property("anchors").isValid();
}

} // namespace

DockLayout::DockLayout(QWidget* parent)
    : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
    setSizeConstraint(QLayout::SetNoConstraint);
}

DockLayout::~DockLayout()
{
    for (const Entry& entry : std::as_const(m_entries))
        delete entry.item;
}

DockLayout::Dock DockLayout::dockOf(const QWidget* widget)
{
    const QString dock = widget->property("dock").toString();
    if (dock == QLatin1String("top"))
        return Dock::Top;
    if (dock == QLatin1String("bottom"))
        return Dock::Bottom;
    if (dock == QLatin1String("left"))
        return Dock::Left;
    if (dock == QLatin1String("fill"))
        return Dock::Fill;
    return Dock::None;
}

void DockLayout::installAll(QWidget* root)
{
    QList<QWidget*> managed;
    const QList<QWidget*> children = root->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (!child->isWindow() && isManaged(child))
            managed.append(child);
        installAll(child);
    }
    if (managed.isEmpty() || root->layout())
        return;

    auto* layout = new DockLayout(root);
    // Left docks claim their space by design Left, sorted once here; the rest keep creation order.
    QList<QWidget*> lefts;
    for (QWidget* child : std::as_const(managed))
        if (dockOf(child) == Dock::Left)
            lefts.append(child);
        else
            layout->adopt(child);
    std::stable_sort(lefts.begin(), lefts.end(),
        [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
    for (QWidget* child : std::as_const(lefts))
        layout->adopt(child);
}

void DockLayout::adopt(QWidget* child)
{
    Entry entry;
    entry.item = new QWidgetItem(child);
    entry.dock = dockOf(child);
    entry.anchors = anchorsOf(child);
    const QWidget* parent = parentWidget();
    const QRect g = child->geometry();
    entry.distances = QMargins(
        g.left(), g.top(), parent->width() - g.right() - 1, parent->height() - g.bottom() - 1);
    m_entries.append(entry);
    addChildWidget(child);
    invalidate();
}

QWidget* DockLayout::leftNeighbour(const QWidget* widget) const
{
    const QList<QWidget*> lefts = leftDocked();
    const int index = lefts.indexOf(const_cast<QWidget*>(widget));
    return index > 0 ? lefts.at(index - 1) : nullptr;
}

QList<QWidget*> DockLayout::leftDocked() const
{
    QList<QWidget*> lefts;
    for (const Entry& entry : m_entries)
        if (entry.dock == Dock::Left)
            lefts.append(entry.item->widget());
    return lefts;
}

void DockLayout::addItem(QLayoutItem* item)
{
    m_entries.append(Entry { item, Dock::None, Qt::LeftEdge | Qt::TopEdge, {} });
}

QLayoutItem* DockLayout::itemAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).item : nullptr;
}

QLayoutItem* DockLayout::takeAt(int index)
{
    if (index < 0 || index >= m_entries.size())
        return nullptr;
    return m_entries.takeAt(index).item;
}

int DockLayout::count() const
{
    return int(m_entries.size());
}

QSize DockLayout::sizeHint() const
{
    return parentWidget() ? parentWidget()->size() : QSize();
}

QSize DockLayout::minimumSize() const
{
    return QSize(0, 0);
}

void DockLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    QRect free = rect;
    auto place = [](QLayoutItem* item, const QRect& r) {
        if (QWidget* w = item->widget())
            w->setGeometry(r);
    };

    for (const Entry& e : std::as_const(m_entries)) {
        const int h = e.item->widget() ? e.item->widget()->height() : 0;
        if (e.dock == Dock::Top) {
            place(e.item, QRect(free.left(), free.top(), free.width(), h));
            free.setTop(free.top() + h);
        } else if (e.dock == Dock::Bottom) {
            place(e.item, QRect(free.left(), free.bottom() + 1 - h, free.width(), h));
            free.setBottom(free.bottom() - h);
        }
    }
    for (const Entry& e : std::as_const(m_entries)) {
        if (e.dock != Dock::Left)
            continue;
        const int w = e.item->widget() ? e.item->widget()->width() : 0;
        place(e.item, QRect(free.left(), free.top(), w, std::max(0, free.height())));
        free.setLeft(free.left() + w);
    }
    for (const Entry& e : std::as_const(m_entries)) {
        if (e.dock == Dock::Fill)
            place(e.item,
                QRect(
                    free.topLeft(), QSize(std::max(0, free.width()), std::max(0, free.height()))));
    }
    for (const Entry& e : std::as_const(m_entries)) {
        QWidget* w = e.item->widget();
        if (e.dock != Dock::None || !w)
            continue;
        QRect g = w->geometry();
        const QMargins& d = e.distances;
        if (e.anchors & Qt::RightEdge) {
            if (e.anchors & Qt::LeftEdge)
                g.setWidth(rect.width() - d.left() - d.right());
            else
                g.moveLeft(rect.width() - d.right() - g.width());
        }
        if (e.anchors & Qt::BottomEdge) {
            if (e.anchors & Qt::TopEdge)
                g.setHeight(rect.height() - d.top() - d.bottom());
            else
                g.moveTop(rect.height() - d.bottom() - g.height());
        }
        w->setGeometry(g);
    }
}
