// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"
#include "WindowHarness.h"

#include <QScrollBar>
#include <QtTest>

class tst_BitmapPane : public QObject
{
    Q_OBJECT

private slots:
    void handsTheShownFileToThePaintProgram_data();
    void handsTheShownFileToThePaintProgram();
    void nothingShownHandsNothingOff();
    void designPictureHasNoFile();
    void afterStyleChangeNamesTheFileOnScreen();
    void showsActualSizeAndFillsTheZoomBox();
    void clickingTwiceReadsNothing();

private:
    static void clickCaptionBar(TfrmMain& frm)
    {
        QTest::mouseClick(frm.captionbar_inactive, Qt::LeftButton, {}, { 3, 3 });
    }
    static void clickActual(TfrmMain& frm)
    {
        QTest::mouseClick(frm.imgActual, Qt::LeftButton, {}, { 1, 1 });
    }
};

void tst_BitmapPane::handsTheShownFileToThePaintProgram_data()
{
    QTest::addColumn<QString>("styleDir");
    QTest::addColumn<bool>("viaMinimize");
    QTest::addColumn<QString>("file");
    QTest::newRow("caption bar") << "Luna" << false << "captionbar_inactive.png";
    QTest::newRow("minimize press and release") << "Luna" << true << "captionbutton_over.png";
    QTest::newRow("space in the path")
        << "My Styles/Luna Frame" << false << "captionbar_inactive.png";
    QTest::newRow("shell characters and letters")
        << "it's $HOME; ä" << true << "captionbutton_over.png";
}

void tst_BitmapPane::handsTheShownFileToThePaintProgram()
{
    QFETCH(QString, styleDir);
    QFETCH(bool, viaMinimize);
    QFETCH(QString, file);
    StyleFixture style(styleDir);
    style.writeAll();
    WindowHarness h;
    h.chooseStyle(style.dir());
    if (viaMinimize) {
        QTest::mousePress(h.frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 5, 5 });
        QTest::mouseRelease(h.frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 5, 5 });
    } else {
        clickCaptionBar(*h.frm);
    }
    QCOMPARE(h.frm->lblBitmap->text(), QLatin1Char(' ') + file);
    clickActual(*h.frm);

    // Nothing came between: the paint program's path, the style directory and the caption's file.
    QCOMPARE(h.desktop.commands,
        QList<QByteArray>({ "/opt/vela/bin/apps/paint " + style.dirBytes() + file.toLocal8Bit() }));
    QCOMPARE(h.desktop.reservedArguments, QList<int>({ 0 }));
    QCOMPARE(h.reports, QStringList());
}

void tst_BitmapPane::nothingShownHandsNothingOff()
{
    StyleFixture style;
    style.writeAll();
    WindowHarness h;
    h.chooseStyle(style.dir());
    QCOMPARE(h.frm->lblBitmap->text(), QStringLiteral("lblBitmap"));
    clickActual(*h.frm);
    QCOMPARE(h.desktop.commands, QList<QByteArray>());
}

void tst_BitmapPane::designPictureHasNoFile()
{
    WindowHarness h;
    clickCaptionBar(*h.frm);
    QCOMPARE(h.frm->lblBitmap->text(), QStringLiteral(" captionbar_inactive.png"));
    QCOMPARE(h.frm->imgActual->picture(), h.frm->captionbar_inactive->picture());
    clickActual(*h.frm);
    QCOMPARE(h.desktop.commands, QList<QByteArray>());
}

void tst_BitmapPane::afterStyleChangeNamesTheFileOnScreen()
{
    StyleFixture first(QStringLiteral("First"));
    first.writeAll();
    StyleFixture second(QStringLiteral("Second"));
    second.writeAll();
    second.remove(QStringLiteral("frame_mask_left.bmp"));
    WindowHarness h;
    h.chooseStyle(first.dir());
    clickCaptionBar(*h.frm);
    h.chooseStyle(second.dir());
    clickActual(*h.frm);
    // The pane still shows the first style's caption bar: that is the file to edit.
    QCOMPARE(h.desktop.commands,
        QList<QByteArray>(
            { "/opt/vela/bin/apps/paint " + first.dirBytes() + "captionbar_inactive.png" }));
    // A pass cut short leaves the first style's caption bar on screen: clicking it names it too.
    clickCaptionBar(*h.frm);
    clickActual(*h.frm);
    QCOMPARE(h.desktop.commands.last(),
        "/opt/vela/bin/apps/paint " + first.dirBytes() + "captionbar_inactive.png");
}

void tst_BitmapPane::showsActualSizeAndFillsTheZoomBox()
{
    StyleFixture style;
    style.writeAll();
    style.write(QStringLiteral("captionbutton_over.png"), { 300, 20 }, qRgb(30, 60, 90));
    WindowHarness h;
    h.frm->resize(1152, 770);
    h.chooseStyle(style.dir());
    h.frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.frm.get()));
    QCoreApplication::processEvents();
    QCOMPARE(h.reports, QStringList());
    QCOMPARE(h.frm->ScrollBox1->horizontalScrollBar()->maximum(), 0);

    QTest::mousePress(h.frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 5, 5 });
    QTest::mouseRelease(h.frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 5, 5 });
    QCOMPARE(h.frm->imgActual->geometry(), QRect(36, 24, 300, 20));
    QCOMPARE(h.frm->imgZoomed->geometry(), QRect(36, 68, 113, 113));
    const QImage zoomed = h.frm->imgZoomed->grab().toImage();
    // Distorted to fill the box: every corner shows the bitmap.
    for (QPoint p :
        { QPoint(0, 0), QPoint(112, 0), QPoint(0, 110), QPoint(112, 112), QPoint(56, 56) })
        QCOMPARE(zoomed.pixel(p) | 0xff000000u, qRgb(30, 60, 90));
    // The content now reaches beyond the pane: the scroll box scrolls by itself.
    QTRY_VERIFY(h.frm->ScrollBox1->horizontalScrollBar()->maximum() > 0);
    QCOMPARE(h.frm->ScrollBox1->widget()->size(), QSize(336, 181));
}

void tst_BitmapPane::clickingTwiceReadsNothing()
{
    StyleFixture style;
    style.writeAll();
    WindowHarness h;
    h.chooseStyle(style.dir());
    clickCaptionBar(*h.frm);
    const QImage first = h.frm->imgActual->picture();
    style.remove(QStringLiteral("captionbar_inactive.png"));
    clickCaptionBar(*h.frm);
    QCOMPARE(h.frm->imgActual->picture(), first);
    QCOMPARE(fileShownBy(h.frm->imgZoomed->picture()), QStringLiteral("captionbar_inactive.png"));
    QCOMPARE(h.frm->lblBitmap->text(), QStringLiteral(" captionbar_inactive.png"));
    QCOMPARE(h.reports, QStringList());
}

QTEST_MAIN(tst_BitmapPane)
#include "tst_bitmappane.moc"
