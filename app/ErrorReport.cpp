#include "app/ErrorReport.h"

#include "controls/AppError.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void showMessageBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
        QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

ErrorReport::Presenter& presenter()
{
    static ErrorReport::Presenter current = showMessageBox;
    return current;
}

} // namespace

QString ErrorReport::format(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

void ErrorReport::show(const QString& message)
{
    // Copied so a presenter that swaps itself out while running stays alive until it returns.
    const Presenter current = presenter();
    current(format(message));
}

QString ErrorReport::messageOf(const std::exception& error)
{
    if (const auto* appError = dynamic_cast<const AppError*>(&error))
        return appError->message();
    return QString::fromLocal8Bit(error.what());
}

void ErrorReport::show(const std::exception& error)
{
    show(messageOf(error));
}

ErrorReport::Presenter ErrorReport::setPresenter(Presenter replacement)
{
    return std::exchange(presenter(), std::move(replacement));
}
