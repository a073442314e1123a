// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace {

// The window the box belongs to: the active one, or while none is active yet (a report from the
// first show) the program's own visible window.
QWidget* ownerWindow()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window->isVisible() && window->windowType() == Qt::Window)
            return window;
    return nullptr;
}

void showMessageBox(const QString& text)
{
    const QPointer<QWidget> owner = ownerWindow();
    const bool ownerWasActive = owner && owner == QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
        QMessageBox::Ok, owner);
    box.exec();
    // The box took the activation; without a window manager nobody would hand it back.
    if (owner && ownerWasActive)
        owner->activateWindow();
}

ErrorReport::Presenter& presenter()
{
    static ErrorReport::Presenter current = showMessageBox;
    return current;
}

} // namespace

void ErrorReport::show(const QString& message)
{
    // Copied so a presenter that swaps itself out while running stays alive until it returns.
    const Presenter current = presenter();
    current(ErrorText::format(message));
}

void ErrorReport::show(const std::exception& error)
{
    show(ErrorText::messageOf(error));
}

void ErrorReport::report(const QString& message, When when)
{
    if (when == When::Now || !QCoreApplication::instance())
        show(message);
    else
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [message] { show(message); }, Qt::QueuedConnection);
}

ErrorReport::Presenter ErrorReport::setPresenter(Presenter replacement)
{
    return std::exchange(presenter(), std::move(replacement));
}
