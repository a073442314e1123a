// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/ErrorReport.h"
#include "app/uMain.h"
#include "controls/AppLook.h"
#include "explorer/DesktopApi.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    // The bytes as the system gave them: a directory name that is no valid UTF-8 must be
    // refused, and converting it first would silently name another path.
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    const std::variant<int, StartOptions> handled
        = handleCommandLine(arguments, QDir::currentPath());
    if (const int* status = std::get_if<int>(&handled))
        return *status;

    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();

    DesktopApi desktop([](const QString& message) { ErrorReport::show(message); });
    TfrmMain frmMain(&desktop, {}, nullptr, std::get<StartOptions>(handled));
    frmMain.show();
    return app.exec();
}
