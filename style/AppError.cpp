// SPDX-License-Identifier: GPL-3.0-or-later
#include "style/AppError.h"

#include <cstring>

AppError::AppError(const QString& message)
    : m_message(message)
    , m_utf8(message.toUtf8())
{ }

AppError AppError::cannotOpen(const QString& path, int errnum)
{
    return AppError(QStringLiteral("Cannot open file \"%1\". %2")
                        .arg(path, QString::fromLocal8Bit(std::strerror(errnum))));
}

AppError AppError::formatNotRecognized()
{
    return AppError(QStringLiteral("Image format not recognized"));
}
