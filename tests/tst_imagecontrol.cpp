// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"
#include "controls/ImageControl.h"
#include "style/AppError.h"

#include <QtTest>

class tst_ImageControl : public QObject
{
    Q_OBJECT

private slots:
    void sizesItselfInsideTheSetter_data();
    void sizesItselfInsideTheSetter();
    void colourKey_data();
    void colourKey();
    void colourKeyReplacesTheFilesAlpha();
    void failedLoadKeepsPictureAndRecord_data();
    void failedLoadKeepsPictureAndRecord();
    void paintOverKeepsTheBitmapAndForgetsTheFile();
    void mouseEventOrder_data();
    void mouseEventOrder();
};

static QImage solid(QSize size, QRgb colour, QRgb bottomLeft)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, size.height() - 1, bottomLeft);
    return image;
}

void tst_ImageControl::sizesItselfInsideTheSetter_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRgb>("farCorner");
    // The control starts 30 x 20.
    QTest::newRow("auto-size") << QSize(7, 4) << true << false << QSize(7, 4) << qRgb(10, 20, 30);
    QTest::newRow("auto-size decides over stretch")
        << QSize(7, 4) << true << true << QSize(7, 4) << qRgb(10, 20, 30);
    // Narrower but taller: auto-size grows as well as shrinks, each side on its own.
    QTest::newRow("auto-size to a taller picture")
        << QSize(12, 29) << true << true << QSize(12, 29) << qRgb(10, 20, 30);
    QTest::newRow("stretch") << QSize(7, 4) << false << true << QSize(30, 20) << qRgb(10, 20, 30);
    QTest::newRow("stretch a taller picture")
        << QSize(12, 29) << false << true << QSize(30, 20) << qRgb(10, 20, 30);
    // Neither flag: drawn unscaled at the top-left, nothing beyond it.
    QTest::newRow("plain") << QSize(7, 4) << false << false << QSize(30, 20) << qRgb(255, 0, 255);
}

void tst_ImageControl::sizesItselfInsideTheSetter()
{
    QFETCH(QSize, picture);
    QFETCH(bool, autoSize);
    QFETCH(bool, stretch);
    QFETCH(QSize, size);
    QFETCH(QRgb, farCorner);
    QWidget parent;
    parent.resize(100, 100);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(255, 0, 255));
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    ImageControl image(&parent);
    image.setGeometry(5, 6, 30, 20);
    image.setAutoSize(autoSize);
    image.setStretch(stretch);
    image.setPicture(solid(picture, qRgb(10, 20, 30), qRgb(10, 20, 30)));
    QCOMPARE(image.geometry(), QRect(QPoint(5, 6), size));
    const QImage drawn = parent.grab().toImage();
    QCOMPARE(drawn.pixel(5 + size.width() - 1, 6 + size.height() - 1) | 0xff000000u, farCorner);
}

void tst_ImageControl::colourKey_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QPoint>("keyed");
    QTest::addColumn<QPoint>("kept");

    QImage greenMiddle(3, 3, QImage::Format_RGB32);
    greenMiddle.fill(Qt::red);
    greenMiddle.setPixelColor(1, 1, Qt::green);
    QImage greenCorner = greenMiddle;
    greenCorner.setPixelColor(0, 2, Qt::green);

    QTest::newRow("the bottom-left pixel alone has the key")
        << solid({ 4, 4 }, qRgb(1, 2, 3), qRgb(9, 9, 9)) << QPoint(0, 3) << QPoint(2, 2);
    QTest::newRow("every pixel of the key colour") << greenMiddle << QPoint(0, 0) << QPoint(1, 1);
    // The top-left pixel is red here: a key taken from the wrong corner shows.
    QTest::newRow("the bottom-left, not the top-left")
        << greenCorner << QPoint(1, 1) << QPoint(1, 0);
}

void tst_ImageControl::colourKey()
{
    QFETCH(QImage, picture);
    QFETCH(QPoint, keyed);
    QFETCH(QPoint, kept);
    ImageControl image;
    image.setTransparent(true);
    // The picture before was keyed on the colour that must now be drawn, so a key that is not
    // worked out again for each picture shows.
    image.setPicture(solid(picture.size(), qRgb(200, 200, 200), picture.pixel(kept)));
    image.setPicture(picture);
    QCOMPARE(qAlpha(image.displayedPicture().pixel(keyed)), 0);
    QCOMPARE(image.displayedPicture().pixelColor(kept), picture.pixelColor(kept));

    image.setTransparent(false);
    QCOMPARE(image.displayedPicture().pixelColor(keyed), picture.pixelColor(keyed));
}

void tst_ImageControl::colourKeyReplacesTheFilesAlpha()
{
    QImage picture(3, 3, QImage::Format_ARGB32);
    picture.fill(qRgba(40, 50, 60, 0));
    picture.setPixel(0, 2, qRgba(200, 100, 0, 128));
    picture.setPixel(1, 1, qRgba(200, 100, 0, 255));
    ImageControl image;
    image.setTransparent(true);
    image.setPicture(picture);
    // The key compares RGB only; every other pixel is drawn, whatever its alpha was.
    QCOMPARE(image.displayedPicture().pixel(1, 1), 0u);
    QCOMPARE(image.displayedPicture().pixel(0, 0), qRgba(40, 50, 60, 255));
}

void tst_ImageControl::failedLoadKeepsPictureAndRecord_data()
{
    QTest::addColumn<bool>("fromFile");
    QTest::newRow("a picture read from a file") << true;
    // Nothing to read again: the failure must not fall back on the remembered file.
    QTest::newRow("a composed picture") << false;
}

void tst_ImageControl::failedLoadKeepsPictureAndRecord()
{
    QFETCH(bool, fromFile);
    StyleFixture style;
    style.write(QStringLiteral("captionbar_active.png"), { 8, 9 });
    ImageControl image;
    image.setAutoSize(true);
    if (fromFile)
        image.loadFromFile(style.path(QStringLiteral("captionbar_active.png")).toLocal8Bit());
    else
        image.setPicture(solid({ 8, 9 }, qRgb(0, 0, 255), qRgb(0, 0, 255)));
    const QImage before = image.picture();
    const QByteArray source = image.sourcePath();
    try {
        image.loadFromFile(style.path(QStringLiteral("missing.png")).toLocal8Bit());
        QFAIL("a missing file loaded");
    } catch (const AppError& error) {
        QCOMPARE(error.message(),
            QStringLiteral("Cannot open file \"%1\". No such file or directory")
                .arg(style.path(QStringLiteral("missing.png"))));
    }
    QCOMPARE(image.picture(), before);
    QCOMPARE(image.size(), QSize(8, 9));
    QCOMPARE(image.sourcePath(), source);
}

void tst_ImageControl::paintOverKeepsTheBitmapAndForgetsTheFile()
{
    StyleFixture style;
    style.write(QStringLiteral("captionbar_left_active.png"), { 12, 29 }, qRgb(5, 5, 5));
    ImageControl corner;
    corner.setAutoSize(true);
    corner.loadFromFile(style.path(QStringLiteral("captionbar_left_active.png")).toLocal8Bit());
    QImage overlay(20, 10, QImage::Format_ARGB32);
    overlay.fill(qRgba(0, 0, 0, 0));
    overlay.setPixel(11, 9, qRgba(7, 7, 7, 255));
    overlay.setPixel(19, 9, qRgba(8, 8, 8, 255));
    corner.paintOver(overlay);
    QCOMPARE(corner.size(), QSize(12, 29));
    QCOMPARE(corner.picture().pixel(11, 9) | 0xff000000u, qRgb(7, 7, 7));
    QCOMPARE(corner.picture().pixel(3, 3) | 0xff000000u, qRgb(5, 5, 5));
    QVERIFY(corner.sourcePath().isEmpty());
}

void tst_ImageControl::mouseEventOrder_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QString>("events");
    QTest::newRow("left inside") << Qt::LeftButton << QPoint(3, 3) << "down click up";
    QTest::newRow("middle inside") << Qt::MiddleButton << QPoint(3, 3) << "down click up";
    QTest::newRow("right inside") << Qt::RightButton << QPoint(3, 3) << "down up";
    QTest::newRow("left outside") << Qt::LeftButton << QPoint(30, 3) << "down up";
}

void tst_ImageControl::mouseEventOrder()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, release);
    QFETCH(QString, events);
    QWidget parent;
    parent.resize(60, 60);
    ImageControl image(&parent);
    image.setGeometry(0, 0, 10, 10);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QStringList seen;
    connect(&image, &ImageControl::mousePressed, [&] { seen << QStringLiteral("down"); });
    connect(&image, &ImageControl::clicked, [&] { seen << QStringLiteral("click"); });
    connect(&image, &ImageControl::mouseReleased, [&] { seen << QStringLiteral("up"); });
    QTest::mousePress(&image, button, {}, { 3, 3 });
    QTest::mouseRelease(&image, button, {}, release);
    QCOMPARE(seen.join(QLatin1Char(' ')), events);
}

QTEST_MAIN(tst_ImageControl)
#include "tst_imagecontrol.moc"
