// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppLook.h"
#include "app/CommandLine.h"
#include "app/uMain.h"
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

    DesktopApi desktop;
    TfrmMain frmMain(&desktop);
    frmMain.show();
    return app.exec();
}
