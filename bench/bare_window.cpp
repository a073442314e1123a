// The floor of the program's start-up: a Qt Widgets program that shows an empty main window of
// the program's size and does nothing else.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1152, 770);
    window.show();
    return app.exec();
}
