// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one error type of the program. Handlers never catch it themselves: it travels to the
// general error report, which shows message() to the user.
class AppError : public std::exception
{
public:
    explicit AppError(const QString& message);

    // "Cannot open file "<path>". <reason>", the reason being the C library's text for errnum.
    static AppError cannotOpen(const QString& path, int errnum);
    static AppError formatNotRecognized();

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
