// SPDX-License-Identifier: GPL-3.0-or-later
// Tells bench_startup which screen pixel marks the program's first frame with the first style
// composed: it builds the real window offscreen over the first fixed style path and prints a
// point of captionbar_active, in the window's client area, and its colour ("x y rrggbb").
// The point is uncovered by any other control and its colour after the load pass occurs nowhere
// in the form's design picture for that image, so neither the design pictures nor a pass cut
// short can show it. A process of its own, so the driver that starts the measured programs
// stays small: a child's peak resident size counts its parent's at the time it was started.

#include "app/ErrorReport.h"
#include "app/uMain.h"
#include "controls/AppLook.h"

#include <QApplication>
#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_probe <program directory>/\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();

    QStringList reports;
    ErrorReport::setPresenter([&](const QString& text) { reports.append(text); });
    TfrmMain frm(nullptr, QString::fromLocal8Bit(argv[1]));
    QSet<QRgb> design;
    const QImage designPicture = frm.captionbar_active->picture();
    for (int y = 0; y < designPicture.height(); ++y)
        for (int x = 0; x < designPicture.width(); ++x)
            design.insert(designPicture.pixel(x, y) | 0xff000000u);
    frm.show();
    if (!QTest::qWaitForWindowExposed(&frm)) {
        std::fprintf(stderr, "startup_probe: the window was not exposed\n");
        return 1;
    }
    QCoreApplication::processEvents();
    if (!reports.isEmpty()) {
        std::fprintf(stderr, "startup_probe: %s\n", qPrintable(reports.constFirst()));
        return 1;
    }
    const QImage frame = frm.grab().toImage();
    const QRect bar = frm.captionbar_active->rect();
    // From the middle outwards, so the point lies well inside the piece.
    for (int dy = 0; dy <= bar.height() / 2; ++dy)
        for (int dx = 0; dx <= bar.width() / 2; ++dx)
            for (const QPoint local :
                { bar.center() + QPoint(dx, dy), bar.center() - QPoint(dx, dy) }) {
                const QPoint at = frm.captionbar_active->mapTo(&frm, local);
                if (!bar.contains(local) || frm.childAt(at) != frm.captionbar_active)
                    continue;
                const QRgb colour = frame.pixel(at) | 0xff000000u;
                // Black is the empty screen's colour.
                if (!design.contains(colour) && (colour & 0xffffff) != 0) {
                    std::printf("%d %d %06x\n", at.x(), at.y(), colour & 0xffffffu);
                    return 0;
                }
            }
    std::fprintf(stderr,
        "startup_probe: no pixel of captionbar_active tells the composed style from the design\n");
    return 1;
}
