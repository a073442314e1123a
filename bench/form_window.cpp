// A reference point between the bare window and the program: the main window's controls as the
// form builds and lays them out, in the program's look and with their design pictures, shown
// with nothing loaded into them (no style, help page, code or explorer tree). What it costs over
// the bare window is what the controls themselves cost, before any of the program's own work.

#include "app/AppLook.h"
#include "controls/FormSetup.h"
#include "ui_uMain.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    Q_INIT_RESOURCE(framewright);
    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();
    QMainWindow window;
    Ui::TfrmMain form;
    form.setupUi(&window);
    FormSetup::apply(&window);
    FormSetup::settleGeometry(&window);
    window.show();
    return app.exec();
}
