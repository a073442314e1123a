// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the program's start-up: a Qt Widgets program that shows a main window of the
// program's size whose menu bar holds the program's seven menu titles, and nothing else. It pays
// for the toolkit, the X connection and the fonts of a window with text, as any such window must.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : { "File", "Edit", "View", "Insert", "Tools", "Window", "Help" })
        window.menuBar()->addMenu(QString::fromLatin1(title));
    window.resize(1152, 770);
    window.show();
    return app.exec();
}
