// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/ErrorReport.h"
#include "app/uMain.h"
#include "controls/AppLook.h"
#include "explorer/DesktopApi.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> status = handleCommandLine(arguments))
        return *status;

    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();

    DesktopApi desktop([](const QString& message) { ErrorReport::show(message); });
    TfrmMain frmMain(&desktop);
    frmMain.show();
    return app.exec();
}
