// SPDX-License-Identifier: GPL-3.0-or-later
#include "explorer/DesktopApi.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#include <utility>

DesktopApi::DesktopApi(FailureReport report, Launcher launcher, Opener opener)
    : m_report(std::move(report))
    , m_launcher(std::move(launcher))
    , m_opener(std::move(opener))
{ }

void DesktopApi::RunCommand(const QByteArray& commandLine, int /*reserved*/)
{
    const qsizetype space = commandLine.indexOf(' ');
    const QString program
        = QString::fromLocal8Bit(commandLine.left(space < 0 ? commandLine.size() : space));
    QStringList arguments;
    if (space >= 0)
        arguments << QString::fromLocal8Bit(commandLine.mid(space + 1));

    if (m_launcher(program, arguments))
        return;

    const QString file = arguments.value(0);
    if (file.isEmpty()) {
        m_report(QStringLiteral("Cannot start the paint program \"%1\"").arg(program));
        return;
    }
    if (m_opener(file))
        return;
    m_report(QStringLiteral("Cannot open \"%1\" for editing: neither the paint program "
                            "\"%2\" nor the desktop's default application could be started")
                 .arg(file, program));
}

bool DesktopApi::startDetached(const QString& program, const QStringList& arguments)
{
    // Detached, so a click never waits for the paint program and its exit is never reaped here.
    return QProcess::startDetached(program, arguments);
}

bool DesktopApi::openWithDefaultApplication(const QString& file)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}
