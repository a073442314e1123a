// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapCases.h"
#include "StyleFixture.h"
#include "WindowHarness.h"
#include "controls/FormSetup.h"

#include <QtTest>

class tst_LoadPass : public QObject
{
    Q_OBJECT

private slots:
    void placesEveryPiece_data();
    void placesEveryPiece();
    void showsEachFileWhereItBelongs_data();
    void showsEachFileWhereItBelongs();
    void captionLabels();
    void cornerCompositing();
    void smallerCornerLeavesEarlierPixels();
    void masksOfEveryDepth_data();
    void masksOfEveryDepth();
    void stopsAtFirstUnreadableFile_data();
    void stopsAtFirstUnreadableFile();
    void failedStepKeepsItsPlacementAndOldPicture();
    void badContentFailsOnceAndKeepsPictures_data();
    void badContentFailsOnceAndKeepsPictures();
    void unopenableFileNamesTheReason_data();
    void unopenableFileNamesTheReason();
    void readsTheDiskAtEveryPass();
    void secondStyleReplacesTheFirst();

private:
    static ImageControl* image(TfrmMain& frm, const char* name)
    {
        auto* found = frm.findChild<ImageControl*>(QLatin1String(name));
        if (!found)
            qFatal("no image %s", name);
        return found;
    }
};

void tst_LoadPass::placesEveryPiece_data()
{
    QTest::addColumn<QSize>("bottomCorner");
    QTest::addColumn<QSize>("captionCorner");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QRect>("geometry");

    const QSize standard(5, 8);
    const QSize corner(12, 29);
    auto row = [](const char* tag, QSize bottom, QSize caption, const char* piece, QRect rect) {
        QTest::addRow("%s %s", tag, piece)
            << bottom << caption << QString::fromLatin1(piece) << rect;
    };
    // Inactive panel 393 x 249, active 397 x 237, 12 x 29 corner images whatever the files.
    row("std", standard, corner, "captionbar_left_inactive", { 0, 0, 12, 29 });
    row("std", standard, corner, "captionbar_right_inactive", { 381, 0, 12, 29 });
    row("std", standard, corner, "captionbar_inactive", { 12, 0, 369, 29 });
    row("std", standard, corner, "framebottom_left_inactive", { 0, 241, 5, 8 });
    row("std", standard, corner, "framebottom_right_inactive", { 388, 241, 5, 8 });
    row("std", standard, corner, "framebottom_inactive", { 5, 241, 383, 8 });
    row("std", standard, corner, "frameleft_inactive", { 0, 29, 5, 212 });
    row("std", standard, corner, "frameright_inactive", { 388, 29, 5, 212 });
    row("std", standard, corner, "captionbar_left_active", { 0, 0, 12, 29 });
    row("std", standard, corner, "captionbar_right_active", { 385, 0, 12, 29 });
    row("std", standard, corner, "captionbar_active", { 12, 0, 373, 29 });
    row("std", standard, corner, "framebottom_left_active", { 0, 229, 5, 8 });
    row("std", standard, corner, "framebottom_right_active", { 392, 229, 5, 8 });
    row("std", standard, corner, "framebottom_active", { 5, 229, 387, 8 });
    row("std", standard, corner, "frameleft_active", { 0, 29, 5, 200 });
    row("std", standard, corner, "frameright_active", { 392, 29, 5, 200 });
    row("std", standard, corner, "InactiveButtonMinimize", { 296, 5, 19, 18 });
    row("std", standard, corner, "ActiveGlyphRestore", { 320, 8, 13, 13 });
    row("std", standard, corner, "ActiveGlyphClose", { 363, 7, 13, 13 });
    // Bottom corners of another size sit flush with the edges on the very first pass.
    row("7x10", { 7, 10 }, corner, "framebottom_left_inactive", { 0, 239, 7, 10 });
    row("7x10", { 7, 10 }, corner, "framebottom_right_inactive", { 386, 239, 7, 10 });
    row("7x10", { 7, 10 }, corner, "framebottom_inactive", { 7, 241, 379, 8 });
    row("7x10", { 7, 10 }, corner, "frameleft_inactive", { 0, 29, 5, 210 });
    row("7x10", { 7, 10 }, corner, "framebottom_right_active", { 390, 227, 7, 10 });
    row("7x10", { 7, 10 }, corner, "frameright_active", { 392, 29, 5, 198 });
    // Corner files of other sizes change nothing: the corner images keep their 12 x 29.
    row("small corner", standard, { 8, 20 }, "captionbar_right_inactive", { 381, 0, 12, 29 });
    row("small corner", standard, { 8, 20 }, "captionbar_inactive", { 12, 0, 369, 29 });
    row("large corner", standard, { 20, 40 }, "captionbar_active", { 12, 0, 373, 29 });
    row("large corner", standard, { 20, 40 }, "frameleft_active", { 0, 29, 5, 200 });
}

void tst_LoadPass::placesEveryPiece()
{
    QFETCH(QSize, bottomCorner);
    QFETCH(QSize, captionCorner);
    QFETCH(QString, piece);
    QFETCH(QRect, geometry);

    StyleFixture style;
    style.writeAll();
    for (const char* name : { "framebottom_left_inactive.png", "framebottom_right_inactive.png",
             "framebottom_left_active.png", "framebottom_right_active.png" })
        style.write(QString::fromLatin1(name), bottomCorner);
    for (const char* name : { "captionbar_left_inactive.png", "captionbar_right_inactive.png",
             "captionbar_left_active.png", "captionbar_right_active.png" })
        style.writeImage(QString::fromLatin1(name),
            StyleFixture::cornerImage(
                captionCorner, StyleFixture::colourOf(QString::fromLatin1(name)), 3));
    // Edge files of other sizes than the form's: the pass keeps 5 wide and 8 high.
    style.write(QStringLiteral("frameleft_inactive.png"), { 9, 3 });
    style.write(QStringLiteral("framebottom_active.png"), { 3, 12 });

    WindowHarness h;
    h.chooseStyle(style.dir());
    QCOMPARE(h.reports, QStringList());
    QCOMPARE(image(*h.frm, qPrintable(piece))->geometry(), geometry);
}

void tst_LoadPass::showsEachFileWhereItBelongs_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QString>("file");
    const char* rows[][2] = {
        { "captionbar_inactive", "captionbar_inactive.png" },
        { "framebottom_left_inactive", "framebottom_left_inactive.png" },
        { "framebottom_right_inactive", "framebottom_right_inactive.png" },
        { "framebottom_inactive", "framebottom_inactive.png" },
        { "frameleft_inactive", "frameleft_inactive.png" },
        { "frameright_inactive", "frameleft_inactive.png" },
        { "InactiveButtonClose", "captionbutton_normal.png" },
        { "InactiveButtonMaximize", "captionbutton_normal.png" },
        { "InactiveButtonMinimize", "captionbutton_normal.png" },
        { "InactiveButtonRestore", "captionbutton_normal.png" },
        { "InactiveGlyphClose", "close_active_disable.png" },
        { "InactiveGlyphMaximize", "maximize_active_disable.png" },
        { "InactiveGlyphMinimize", "minimize_active_disable.png" },
        { "InactiveGlyphRestore", "restore_active_disable.png" },
        { "captionbar_active", "captionbar_active.png" },
        { "framebottom_left_active", "framebottom_left_active.png" },
        { "framebottom_right_active", "framebottom_right_active.png" },
        { "framebottom_active", "framebottom_active.png" },
        { "frameleft_active", "frameleft_active.png" },
        { "frameright_active", "frameleft_active.png" },
        { "ActiveButtonClose", "captionbutton_normal.png" },
        { "ActiveButtonMaximize", "captionbutton_normal.png" },
        { "ActiveButtonMinimize", "captionbutton_normal.png" },
        { "ActiveButtonRestore", "captionbutton_normal.png" },
        { "ActiveGlyphClose", "close_active_normal.png" },
        { "ActiveGlyphMaximize", "maximize_active_normal.png" },
        { "ActiveGlyphMinimize", "minimize_active_normal.png" },
        { "ActiveGlyphRestore", "restore_active_normal.png" },
        // The caption corners are composed in place, the window icons never replaced.
        { "captionbar_left_inactive", "" },
        { "captionbar_right_active", "" },
        { "Image9", "" },
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
}

void tst_LoadPass::showsEachFileWhereItBelongs()
{
    QFETCH(QString, piece);
    QFETCH(QString, file);
    StyleFixture style;
    style.writeAll();
    WindowHarness h;
    h.chooseStyle(style.dir());

    ImageControl* shown = image(*h.frm, qPrintable(piece));
    QCOMPARE(
        QString::fromLocal8Bit(shown->sourcePath()), file.isEmpty() ? QString() : style.path(file));
    if (!file.isEmpty())
        QCOMPARE(fileShownBy(shown->picture()), file);
    QCOMPARE(h.frm->state().StyleDir, style.dirBytes());
}

void tst_LoadPass::captionLabels()
{
    StyleFixture style;
    style.writeAll();
    WindowHarness h;
    h.chooseStyle(style.dir());
    struct Expect
    {
        QLabel* label;
        const char* text;
        QColor colour;
    };
    for (const Expect& e : { Expect { h.frm->Label1, "Inactive Window", QColor(200, 200, 200) },
             Expect { h.frm->Label3, "Active Window", QColor(255, 255, 255) } }) {
        QCOMPARE(e.label->text(), QString::fromLatin1(e.text));
        QCOMPARE(e.label->pos(), QPoint(37, 4));
        QCOMPARE(e.label->font().pixelSize(), 14);
        QCOMPARE(e.label->font(), FormSetup::x11Font(QStringLiteral("adobe-helvetica"), 14, true));
        QVERIFY(e.label->font().bold());
        QCOMPARE(e.label->palette().color(QPalette::WindowText), e.colour);
        QCOMPARE(e.label->size(), e.label->sizeHint());
    }
}

void tst_LoadPass::cornerCompositing()
{
    StyleFixture style;
    style.writeAll();
    // A corner larger than its image is cut to 12 x 29.
    style.writeImage(QStringLiteral("captionbar_left_active.png"),
        StyleFixture::cornerImage({ 20, 40 }, qRgb(10, 20, 30), 3));
    WindowHarness h;
    h.chooseStyle(style.dir());

    const QImage inactive = h.frm->captionbar_left_inactive->picture();
    QCOMPARE(inactive.size(), QSize(12, 29));
    // The mask's white shows through the corner's transparent cut-away, the corner elsewhere.
    QCOMPARE(inactive.pixel(1, 1) | 0xff000000u, qRgb(255, 255, 255));
    QCOMPARE(inactive.pixel(6, 6) | 0xff000000u,
        StyleFixture::colourOf(QStringLiteral("captionbar_left_inactive.png")));
    QCOMPARE(h.frm->captionbar_left_active->picture().size(), QSize(12, 29));
    QCOMPARE(
        h.frm->captionbar_left_active->picture().pixel(11, 28) | 0xff000000u, qRgb(10, 20, 30));
    // The left corners are transparent in the colour of their bottom-left pixel (white here),
    // which takes the cut-away out of the picture drawn.
    QCOMPARE(qAlpha(h.frm->captionbar_left_inactive->displayedPicture().pixel(1, 1)), 0);
    QCOMPARE(qAlpha(h.frm->captionbar_left_inactive->displayedPicture().pixel(6, 6)), 255);
    QCOMPARE(qAlpha(h.frm->captionbar_right_inactive->displayedPicture().pixel(1, 1)), 255);
}

void tst_LoadPass::smallerCornerLeavesEarlierPixels()
{
    StyleFixture first;
    first.writeAll();
    StyleFixture second(QStringLiteral("Second"));
    second.writeAll();
    QImage smallMask(6, 10, QImage::Format_RGB32);
    smallMask.fill(qRgb(0, 0, 0));
    second.writeImage(QStringLiteral("frame_mask_right.bmp"), smallMask);
    second.writeImage(QStringLiteral("captionbar_right_inactive.png"),
        StyleFixture::cornerImage({ 8, 20 }, qRgb(90, 80, 70), 0));

    WindowHarness h;
    h.chooseStyle(first.dir());
    h.chooseStyle(second.dir());
    const QImage corner = h.frm->captionbar_right_inactive->picture();
    QCOMPARE(corner.size(), QSize(12, 29));
    QCOMPARE(corner.pixel(4, 15) | 0xff000000u, qRgb(90, 80, 70));
    QCOMPARE(corner.pixel(10, 25) | 0xff000000u,
        StyleFixture::colourOf(QStringLiteral("captionbar_right_inactive.png")));
}

void tst_LoadPass::masksOfEveryDepth_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("1-bit") << QImage::Format_Mono;
    QTest::newRow("8-bit palette") << QImage::Format_Indexed8;
    QTest::newRow("24-bit") << QImage::Format_RGB888;
    QTest::newRow("32-bit") << QImage::Format_RGB32;
    QTest::newRow("32-bit with alpha") << QImage::Format_ARGB32;
}

void tst_LoadPass::masksOfEveryDepth()
{
    QFETCH(QImage::Format, format);
    StyleFixture style(QStringLiteral("Stil mit Leerzeichen ö"));
    style.writeAll();
    style.writeImage(
        QStringLiteral("frame_mask_left.bmp"), StyleFixture::maskImage(3).convertToFormat(format));
    WindowHarness h;
    h.chooseStyle(style.dir());
    QCOMPARE(h.reports, QStringList());
    const QImage first = h.frm->captionbar_left_active->picture();
    QCOMPARE(first.pixel(1, 1) | 0xff000000u, qRgb(255, 255, 255));
    QCOMPARE(first.pixel(6, 6) | 0xff000000u,
        StyleFixture::colourOf(QStringLiteral("captionbar_left_active.png")));
    // The same pixels on every pass.
    for (int pass = 0; pass < 3; ++pass) {
        h.frm->Button1->click();
        QCOMPARE(h.frm->captionbar_left_active->picture(), first);
    }
}

void tst_LoadPass::stopsAtFirstUnreadableFile_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("lastNew");
    QTest::addColumn<QString>("firstOld");
    QTest::newRow("left mask") << "frame_mask_left.bmp" << QString() << "captionbar_inactive";
    QTest::newRow("inactive caption bar")
        << "captionbar_inactive.png" << QString() << "captionbar_inactive";
    QTest::newRow("inactive left edge") << "frameleft_inactive.png"
                                        << "framebottom_inactive"
                                        << "frameleft_inactive";
    QTest::newRow("disabled close glyph") << "close_active_disable.png"
                                          << "InactiveButtonRestore"
                                          << "InactiveGlyphClose";
    QTest::newRow("active right corner") << "captionbar_right_active.png"
                                         << "InactiveGlyphRestore"
                                         << "captionbar_active";
    QTest::newRow("last file") << "restore_active_normal.png"
                               << "ActiveGlyphMinimize"
                               << "ActiveGlyphRestore";
}

void tst_LoadPass::stopsAtFirstUnreadableFile()
{
    QFETCH(QString, missing);
    QFETCH(QString, lastNew);
    QFETCH(QString, firstOld);
    StyleFixture before;
    before.writeAll();
    StyleFixture broken(QStringLiteral("Broken"));
    broken.writeAll();
    broken.remove(missing);

    WindowHarness h;
    h.chooseStyle(before.dir());
    h.chooseStyle(broken.dir());

    QCOMPARE(h.reports,
        QStringList(QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                        .arg(broken.path(missing))));
    QCOMPARE(h.frm->state().StyleDir, broken.dirBytes());
    if (!lastNew.isEmpty())
        QVERIFY(image(*h.frm, qPrintable(lastNew))->sourcePath().startsWith(broken.dirBytes()));
    QVERIFY(image(*h.frm, qPrintable(firstOld))->sourcePath().startsWith(before.dirBytes()));
}

void tst_LoadPass::failedStepKeepsItsPlacementAndOldPicture()
{
    StyleFixture before;
    before.writeAll();
    StyleFixture broken(QStringLiteral("Broken"));
    broken.writeAll();
    for (const char* name : { "framebottom_left_inactive.png", "framebottom_right_inactive.png" })
        broken.write(QString::fromLatin1(name), { 7, 10 });
    QFile::resize(broken.path(QStringLiteral("framebottom_inactive.png")), 0);

    WindowHarness h;
    h.chooseStyle(before.dir());
    h.chooseStyle(broken.dir());

    QCOMPARE(h.reports, QStringList(QStringLiteral("Image format not recognized.")));
    QCOMPARE(h.frm->framebottom_inactive->geometry(), QRect(7, 241, 379, 8));
    QCOMPARE(QString::fromLocal8Bit(h.frm->framebottom_inactive->sourcePath()),
        before.path(QStringLiteral("framebottom_inactive.png")));
    QCOMPARE(fileShownBy(h.frm->framebottom_inactive->picture()),
        QStringLiteral("framebottom_inactive.png"));
    // The next pass starts afresh from the first step.
    broken.write(QStringLiteral("framebottom_inactive.png"), { 10, 8 });
    h.frm->Button1->click();
    QCOMPARE(h.reports.size(), 1);
    QVERIFY(h.frm->ActiveGlyphRestore->sourcePath().startsWith(broken.dirBytes()));
}

void tst_LoadPass::badContentFailsOnceAndKeepsPictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    for (const BitmapCases::BitmapCase& c : BitmapCases::unrecognizedBitmaps()) {
        // Put where the pass has already placed an image, or reads a working bitmap.
        if (c.fileName.endsWith(QLatin1String(".png")))
            QTest::newRow(c.name.constData()) << "captionbar_active.png" << c.content;
        else if (c.fileName.endsWith(QLatin1String(".bmp")))
            QTest::newRow(c.name.constData()) << "frame_mask_right.bmp" << c.content;
    }
}

void tst_LoadPass::badContentFailsOnceAndKeepsPictures()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    StyleFixture before;
    before.writeAll();
    StyleFixture broken(QStringLiteral("Broken"));
    broken.writeAll();
    QFile bad(broken.path(file));
    QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write(content);
    bad.close();

    WindowHarness h;
    h.chooseStyle(before.dir());
    const QImage caption = h.frm->captionbar_active->picture();
    const QImage rightCorner = h.frm->captionbar_right_inactive->picture();
    h.chooseStyle(broken.dir());
    QCOMPARE(h.reports, QStringList(QStringLiteral("Image format not recognized.")));
    QCOMPARE(h.frm->captionbar_active->picture(), caption);
    QCOMPARE(h.frm->captionbar_right_inactive->picture(), rightCorner);
    QVERIFY(h.frm->ActiveGlyphMinimize->sourcePath().startsWith(before.dirBytes()));
}

void tst_LoadPass::unopenableFileNamesTheReason_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("directory") << "directory"
                               << "Is a directory";
    QTest::newRow("dangling link") << "link"
                                   << "No such file or directory";
}

void tst_LoadPass::unopenableFileNamesTheReason()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    StyleFixture style;
    style.writeAll();
    const QString file = QStringLiteral("framebottom_active.png");
    style.remove(file);
    if (kind == QLatin1String("directory"))
        QVERIFY(QDir().mkdir(style.path(file)));
    else
        QVERIFY(QFile::link(style.path(QStringLiteral("gone.png")), style.path(file)));
    WindowHarness h;
    h.chooseStyle(style.dir());
    QCOMPARE(h.reports,
        QStringList(QStringLiteral("Cannot open file \"%1\". %2.").arg(style.path(file), reason)));
}

void tst_LoadPass::readsTheDiskAtEveryPass()
{
    StyleFixture style;
    style.writeAll();
    WindowHarness h;
    h.chooseStyle(style.dir());
    // Rewritten well within the same second, with the same size: nothing may serve the old one.
    style.write(QStringLiteral("captionbar_active.png"), { 20, 29 }, qRgb(1, 2, 3));
    h.frm->Button1->click();
    QCOMPARE(h.frm->captionbar_active->picture().pixel(10, 10) | 0xff000000u, qRgb(1, 2, 3));
    style.write(QStringLiteral("captionbar_active.png"), { 20, 29 }, qRgb(4, 5, 6));
    h.frm->Button1->click();
    QCOMPARE(h.frm->captionbar_active->picture().pixel(10, 10) | 0xff000000u, qRgb(4, 5, 6));
    QCOMPARE(h.reports, QStringList());
}

void tst_LoadPass::secondStyleReplacesTheFirst()
{
    StyleFixture first;
    first.writeAll();
    StyleFixture second(QStringLiteral("Zweiter Stil ä"));
    second.writeAll();
    WindowHarness h;
    h.chooseStyle(first.dir());
    h.chooseStyle(second.dir());
    QCOMPARE(h.reports, QStringList());
    const QList<ImageControl*> images = h.frm->ActiveWindow->findChildren<ImageControl*>()
        + h.frm->InactiveWindow->findChildren<ImageControl*>();
    for (const ImageControl* shown : images)
        QVERIFY2(shown->sourcePath().isEmpty() || shown->sourcePath().startsWith(second.dirBytes()),
            qPrintable(shown->objectName()));
}

QTEST_MAIN(tst_LoadPass)
#include "tst_loadpass.moc"
