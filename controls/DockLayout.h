// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLayout>
#include <QList>
#include <QMargins>

// Places the docked children of a container the way the window description means them: top and
// bottom docks first, in creation order, then the left docks by their design Left, then the fill
// child; anchored children keep their distances to the edges they are anchored to. A child says
// how it is placed through the dynamic properties "dock" (top, bottom, left, fill) and "anchors"
// (any of left, top, right, bottom; left and top when absent). Children with neither property
// keep their design geometry and are not managed.
class DockLayout : public QLayout
{
    Q_OBJECT

public:
    enum class Dock { None, Top, Bottom, Left, Fill };

    explicit DockLayout(QWidget* parent);
    ~DockLayout() override;

    // Installs a DockLayout on every widget below root (root included) that has docked or
    // anchored children. Run once, after the form is set up at its design size.
    static void installAll(QWidget* root);
    static Dock dockOf(const QWidget* widget);

    // The left-docked widget placed directly before `widget`, for a splitter to resize.
    QWidget* leftNeighbour(const QWidget* widget) const;
    QList<QWidget*> leftDocked() const;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry
    {
        QLayoutItem* item = nullptr;
        Dock dock = Dock::None;
        Qt::Edges anchors;
        QMargins distances; // to the parent's edges at design size
    };

    void adopt(QWidget* child);

    QList<Entry> m_entries;
};
