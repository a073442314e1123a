// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "explorer/IDesktopApi.h"

#include <QString>
#include <QStringList>
#include <functional>

// Starts the paint program for a bitmap without a shell and without waiting for it. When the
// program cannot be started, the file goes to the desktop's default application for its type;
// when that fails too, the failure report given at construction says so (the program hands it to
// its error report; this layer shows no message of its own).
class DesktopApi : public IDesktopApi
{
public:
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
    using Opener = std::function<bool(const QString& file)>;
    using FailureReport = std::function<void(const QString& message)>;

    explicit DesktopApi(FailureReport report, Launcher launcher = startDetached,
        Opener opener = openWithDefaultApplication);

    // The command line is "<program> <file>": everything after the first space is the file,
    // taken literally, since style paths may contain spaces and no quoting is ever applied.
    void RunCommand(const QByteArray& commandLine, int reserved) override;

    static bool startDetached(const QString& program, const QStringList& arguments);
    static bool openWithDefaultApplication(const QString& file);

private:
    FailureReport m_report;
    Launcher m_launcher = startDetached;
    Opener m_opener = openWithDefaultApplication;
};
