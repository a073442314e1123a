// SPDX-License-Identifier: GPL-3.0-or-later
#include "style/ErrorText.h"

#include "style/AppError.h"

namespace ErrorText {

QString messageOf(const std::exception& error)
{
    if (const auto* appError = dynamic_cast<const AppError*>(&error))
        return appError->message();
    return QString::fromLocal8Bit(error.what());
}

QString format(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

QString shown(const std::exception& error)
{
    return format(messageOf(error));
}

} // namespace ErrorText
