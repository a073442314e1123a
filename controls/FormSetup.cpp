// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/FormSetup.h"

#include "controls/DockLayout.h"
#include "controls/FormColours.h"
#include "controls/ImageControl.h"
#include "controls/Shape.h"
#include "controls/SpeedButton.h"
#include "controls/SplitterBar.h"

#include <QAbstractScrollArea>
#include <QButtonGroup>
#include <QHash>
#include <QLayout>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabWidget>
#include <QVariant>

namespace {

// Only views paint their area in the Base role. Setting it on a window or panel would pass the
// colour on to every editor and view inside, which keep the toolkit's own.
void paintBackground(QWidget* widget, const QColor& colour, bool view = false)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    if (view)
        palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QList<QWidget*> directChildren(QWidget* parent)
{
    return parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

// Where a tab widget puts its pages, worked out as the tab widget itself does once it is shown.
QRect tabPageArea(const QTabWidget* tabs)
{
    struct Access : QTabWidget
    {
        static void frameOption(const QTabWidget* tabs, QStyleOptionTabWidgetFrame* option)
        {
            (tabs->*&Access::initStyleOption)(option);
        }
    };
    QStyleOptionTabWidgetFrame option;
    Access::frameOption(tabs, &option);
    return tabs->style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, tabs);
}

void settle(QWidget* widget)
{
    if (QLayout* layout = widget->layout()) {
        layout->activate();
        layout->setGeometry(widget->testAttribute(Qt::WA_LayoutOnEntireRect)
                ? widget->rect()
                : widget->contentsRect());
    }
    // A hidden tab widget leaves its pages at the toolkit's default size until it is shown.
    if (auto* tabs = qobject_cast<QTabWidget*>(widget))
        if (auto* stack = tabs->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly))
            stack->setGeometry(tabPageArea(tabs));
    for (QWidget* child : directChildren(widget))
        if (!child->isWindow())
            settle(child);
}

} // namespace

namespace FormSetup {

void apply(QWidget* root)
{
    applyColours(root);
    // Docks first: the left docks are ordered by design Left and the others by creation order,
    // which stacking reorders.
    DockLayout::installAll(root);
    applyStacking(root);
    groupSpeedButtons(root);
}

void applyColours(QWidget* root)
{
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : std::as_const(widgets)) {
        const QVariant bgr = widget->property("bgr");
        if (!bgr.isValid())
            continue;
        const QColor colour = colourFromBgr(bgr.toInt());
        auto* area = qobject_cast<QAbstractScrollArea*>(widget);
        paintBackground(widget, colour, area != nullptr);
        if (area)
            paintBackground(area->viewport(), colour, true);
        if (auto* scroll = qobject_cast<QScrollArea*>(widget); scroll && scroll->widget())
            paintBackground(scroll->widget(), colour);
    }
}

bool isGraphic(const QWidget* widget)
{
    return qobject_cast<const ImageControl*>(widget) || qobject_cast<const SpeedButton*>(widget)
        || qobject_cast<const SplitterBar*>(widget) || qobject_cast<const Shape*>(widget);
}

void applyStacking(QWidget* root)
{
    const QList<QWidget*> children = directChildren(root);
    QList<QWidget*> graphic;
    QList<QWidget*> others;
    for (QWidget* child : children) {
        if (child->isWindow())
            continue;
        (isGraphic(child) ? graphic : others).append(child);
        applyStacking(child);
    }
    // Raising each in turn, bottom first, yields exactly this order; lowering images one by one
    // would reverse them.
    for (QWidget* child : std::as_const(graphic))
        child->raise();
    for (QWidget* child : std::as_const(others))
        child->raise();
}

void groupSpeedButtons(QWidget* root)
{
    QList<QWidget*> parents = root->findChildren<QWidget*>();
    parents.prepend(root);
    for (QWidget* parent : std::as_const(parents)) {
        QHash<int, QButtonGroup*> groups;
        for (QWidget* child : directChildren(parent)) {
            auto* button = qobject_cast<SpeedButton*>(child);
            if (!button || button->groupIndex() == 0)
                continue;
            QButtonGroup*& group = groups[button->groupIndex()];
            if (!group) {
                group = new QButtonGroup(parent);
                group->setExclusive(true);
            }
            group->addButton(button);
        }
    }
}

QFont x11Font(const QString& name, int pixelSize, bool bold)
{
    QFont font;
    // Asking for the foundry-qualified name would skip the family's substitutes, which are the
    // closest match when the family itself is missing. No style hint: it would override the
    // font system's own stand-in for the family with its generic sans-serif.
    font.setFamilies({ name.section(QLatin1Char('-'), -1) });
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void settleGeometry(QWidget* window)
{
    window->ensurePolished();
    settle(window);
}

} // namespace FormSetup
