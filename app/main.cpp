#include "app/AppLook.h"
#include "app/uMain.h"
#include "explorer/DesktopApi.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();

    DesktopApi desktop;
    TfrmMain frmMain(&desktop);
    frmMain.show();
    return app.exec();
}
