// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapCases.h"
#include "StyleFixture.h"
#include "WindowHarness.h"

#include <QtTest>

// Drives the focused sample window's minimize button with real pointer events and checks which
// file the face, the glyph and the bitmap pane show after each step.
class tst_MinimizeButton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void followsThePointer();
    void pressAndRelease_data();
    void pressAndRelease();
    void releaseOutsideDeliversNoClick();
    void movementReloadsFromDisk();
    void missingOverFileIsReportedOnce();
    void missingPressFileLeavesFaceAndPane();
    void badOverFileIsReportedOnce_data();
    void badOverFileIsReportedOnce();
    void hoverFailureIsNewsAgain_data();
    void hoverFailureIsNewsAgain();
    void otherButtonsDoNotReact();

private:
    QString face() const { return shown(m_h->frm->ActiveButtonMinimize); }
    QString glyph() const { return shown(m_h->frm->ActiveGlyphMinimize); }
    QString pane() const { return shown(m_h->frm->imgActual); }
    QString label() const { return m_h->frm->lblBitmap->text(); }
    QString shown(const ImageControl* image) const
    {
        const QString path = QString::fromLocal8Bit(image->sourcePath());
        return path.startsWith(m_style->dir()) ? path.mid(m_style->dir().size()) : path;
    }
    void moveOnGlyph(QPoint at = { 6, 6 }) { QTest::mouseMove(m_h->frm->ActiveGlyphMinimize, at); }
    void moveOnRim() { QTest::mouseMove(m_h->frm->ActiveButtonMinimize, { 1, 1 }); }
    void moveAway() { QTest::mouseMove(m_h->frm->ActiveWindow, { 150, 120 }); }
    // An empty content removes the file; a message of an empty name is the missing file's.
    void damage(const QString& file, const QByteArray& content);
    QString failureText(const QString& file, const QByteArray& content) const;

    std::unique_ptr<StyleFixture> m_style;
    std::unique_ptr<WindowHarness> m_h;
};

void tst_MinimizeButton::init()
{
    m_style = std::make_unique<StyleFixture>();
    m_style->writeAll();
    m_h = std::make_unique<WindowHarness>();
    // Chosen before the first show, whose load pass then reads the fixture and nothing else.
    m_h->chooseStyle(m_style->dir());
    m_h->frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_h->frm.get()));
    QCoreApplication::processEvents();
    QCOMPARE(m_h->reports, QStringList());
    moveAway();
    QCOMPARE(face(), QStringLiteral("captionbutton_normal.png"));
}

void tst_MinimizeButton::cleanup()
{
    m_h.reset();
    m_style.reset();
}

void tst_MinimizeButton::followsThePointer()
{
    moveOnGlyph();
    QCOMPARE(face(), QStringLiteral("captionbutton_over.png"));
    QCOMPARE(glyph(), QStringLiteral("minimize_active_over.png"));
    // The glyph's leave and the rim's movement: the movement comes last, so the look is over.
    moveOnRim();
    QCOMPARE(face(), QStringLiteral("captionbutton_over.png"));
    QCOMPARE(glyph(), QStringLiteral("minimize_active_over.png"));
    moveAway();
    QCOMPARE(face(), QStringLiteral("captionbutton_normal.png"));
    QCOMPARE(glyph(), QStringLiteral("minimize_active_normal.png"));
    // Hovering never reaches the bitmap pane.
    QCOMPARE(label(), QStringLiteral("lblBitmap"));
    QVERIFY(m_h->frm->imgActual->picture().isNull());
    QCOMPARE(m_h->reports, QStringList());
}

void tst_MinimizeButton::pressAndRelease_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("clicks");
    QTest::newRow("left") << Qt::LeftButton << 1;
    QTest::newRow("middle") << Qt::MiddleButton << 1;
    QTest::newRow("right") << Qt::RightButton << 0;
}

void tst_MinimizeButton::pressAndRelease()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, clicks);
    QSignalSpy clicked(m_h->frm->ActiveGlyphMinimize, &ImageControl::clicked);
    moveOnGlyph();
    QTest::mousePress(m_h->frm->ActiveGlyphMinimize, button, {}, { 6, 6 });
    QCOMPARE(face(), QStringLiteral("captionbutton_press.png"));
    QCOMPARE(glyph(), QStringLiteral("minimize_active_press.png"));
    QCOMPARE(pane(), QStringLiteral("captionbutton_press.png"));
    QCOMPARE(label(), QStringLiteral(" captionbutton_press.png"));
    QCOMPARE(
        fileShownBy(m_h->frm->imgZoomed->picture()), QStringLiteral("captionbutton_press.png"));

    QTest::mouseRelease(m_h->frm->ActiveGlyphMinimize, button, {}, { 6, 6 });
    QCOMPARE(clicked.count(), clicks);
    // The click comes first; the release then shows the over face in the pane.
    QCOMPARE(face(), QStringLiteral("captionbutton_over.png"));
    QCOMPARE(glyph(), QStringLiteral("minimize_active_over.png"));
    QCOMPARE(pane(), QStringLiteral("captionbutton_over.png"));
    QCOMPARE(label(), QStringLiteral(" captionbutton_over.png"));
    QCOMPARE(m_h->frm->imgActual->size(), QSize(19, 18));
    QCOMPARE(m_h->frm->imgZoomed->size(), QSize(113, 113));
    // The pane holds a copy: later looks of the face do not reach it.
    moveAway();
    QCOMPARE(face(), QStringLiteral("captionbutton_normal.png"));
    QCOMPARE(pane(), QStringLiteral("captionbutton_over.png"));
    QCOMPARE(fileShownBy(m_h->frm->imgActual->picture()), QStringLiteral("captionbutton_over.png"));
    QCOMPARE(m_h->reports, QStringList());
}

void tst_MinimizeButton::releaseOutsideDeliversNoClick()
{
    QSignalSpy clicked(m_h->frm->ActiveGlyphMinimize, &ImageControl::clicked);
    moveOnGlyph();
    QTest::mousePress(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
    QTest::mouseRelease(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 60, 40 });
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(label(), QStringLiteral(" captionbutton_over.png"));
    QCOMPARE(pane(), QStringLiteral("captionbutton_over.png"));
    moveAway();
    QCOMPARE(face(), QStringLiteral("captionbutton_normal.png"));
}

void tst_MinimizeButton::movementReloadsFromDisk()
{
    moveOnGlyph({ 5, 5 });
    m_style->write(QStringLiteral("minimize_active_over.png"), { 13, 13 }, qRgb(7, 8, 9));
    moveOnGlyph({ 6, 6 });
    QCOMPARE(m_h->frm->ActiveGlyphMinimize->picture().pixel(6, 6) | 0xff000000u, qRgb(7, 8, 9));
    m_style->write(QStringLiteral("minimize_active_over.png"), { 15, 11 }, qRgb(9, 8, 7));
    moveOnGlyph({ 7, 6 });
    QCOMPARE(m_h->frm->ActiveGlyphMinimize->picture().pixel(6, 6) | 0xff000000u, qRgb(9, 8, 7));
    QCOMPARE(m_h->frm->ActiveGlyphMinimize->size(), QSize(15, 11));
}

void tst_MinimizeButton::missingOverFileIsReportedOnce()
{
    m_style->remove(QStringLiteral("captionbutton_over.png"));
    const QString expected = QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                                 .arg(m_style->path(QStringLiteral("captionbutton_over.png")));
    for (int x = 2; x < 10; ++x)
        moveOnGlyph({ x, 6 });
    moveAway();
    moveOnRim();
    QCOMPARE(m_h->reports, QStringList(expected));
    QCOMPARE(face(), QStringLiteral("captionbutton_normal.png"));
    QCOMPARE(glyph(), QStringLiteral("minimize_active_normal.png"));

    // Still tried at every movement: the file shows as soon as it is back.
    m_style->write(QStringLiteral("captionbutton_over.png"), { 19, 18 });
    moveOnGlyph({ 4, 4 });
    QCOMPARE(face(), QStringLiteral("captionbutton_over.png"));

    // Once it has loaded, a new failure is news again; so is one after a load pass.
    m_style->remove(QStringLiteral("captionbutton_over.png"));
    moveOnGlyph({ 5, 4 });
    moveOnGlyph({ 6, 4 });
    QCOMPARE(m_h->reports.size(), 2);
    m_h->frm->Button1->click();
    moveOnGlyph({ 7, 4 });
    QCOMPARE(m_h->reports.size(), 3);
    // A press reports every failure, hovering or not.
    m_style->remove(QStringLiteral("captionbutton_press.png"));
    QTest::mousePress(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
    QTest::mouseRelease(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
    QTest::mousePress(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
    QTest::mouseRelease(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
    // press, the release's over face, press again, its release
    QCOMPARE(m_h->reports.size(), 3 + 4);
}

void tst_MinimizeButton::missingPressFileLeavesFaceAndPane()
{
    m_style->remove(QStringLiteral("minimize_active_press.png"));
    moveOnGlyph();
    QTest::mousePress(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
    QCOMPARE(m_h->reports,
        QStringList(QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                        .arg(m_style->path(QStringLiteral("minimize_active_press.png")))));
    // The face loaded before the glyph failed; the glyph and the pane stay as they were.
    QCOMPARE(face(), QStringLiteral("captionbutton_press.png"));
    QCOMPARE(glyph(), QStringLiteral("minimize_active_over.png"));
    QCOMPARE(label(), QStringLiteral("lblBitmap"));
    QVERIFY(m_h->frm->imgActual->picture().isNull());

    m_style->remove(QStringLiteral("captionbutton_press.png"));
    QTest::mouseRelease(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
    QTest::mousePress(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
    QCOMPARE(face(), QStringLiteral("captionbutton_over.png"));
    QTest::mouseRelease(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
    QCOMPARE(label(), QStringLiteral(" captionbutton_over.png"));
    QCOMPARE(m_h->reports.size(), 2);
}

void tst_MinimizeButton::badOverFileIsReportedOnce_data()
{
    QTest::addColumn<QByteArray>("content");
    for (const BitmapCases::BitmapCase& c : BitmapCases::unrecognizedBitmaps())
        if (c.fileName.endsWith(QLatin1String(".png")))
            QTest::newRow(c.name.constData()) << c.content;
}

void tst_MinimizeButton::badOverFileIsReportedOnce()
{
    QFETCH(QByteArray, content);
    QFile bad(m_style->path(QStringLiteral("minimize_active_over.png")));
    QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write(content);
    bad.close();
    const QImage glyphBefore = m_h->frm->ActiveGlyphMinimize->picture();
    for (int x = 2; x < 6; ++x)
        moveOnGlyph({ x, 5 });
    moveAway();
    QCOMPARE(m_h->reports, QStringList(QStringLiteral("Image format not recognized.")));
    QCOMPARE(m_h->frm->ActiveGlyphMinimize->picture(), glyphBefore);
    QCOMPARE(glyph(), QStringLiteral("minimize_active_normal.png"));
}

void tst_MinimizeButton::damage(const QString& file, const QByteArray& content)
{
    if (content.isEmpty()) {
        m_style->remove(file);
        return;
    }
    QFile bad(m_style->path(file));
    if (bad.open(QIODevice::WriteOnly | QIODevice::Truncate))
        bad.write(content);
}

QString tst_MinimizeButton::failureText(const QString& file, const QByteArray& content) const
{
    if (content.isEmpty())
        return QStringLiteral("Cannot open file \"%1\". No such file or directory.")
            .arg(m_style->path(file));
    return QStringLiteral("Image format not recognized.");
}

void tst_MinimizeButton::hoverFailureIsNewsAgain_data()
{
    QTest::addColumn<QString>("firstFile");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<bool>("restoreAndClick");
    QTest::addColumn<QString>("secondFile");
    QTest::addColumn<QByteArray>("second");

    const QString face = QStringLiteral("captionbutton_over.png");
    const QString glyph = QStringLiteral("minimize_active_over.png");
    const QByteArray missing;
    const QByteArray text("This is not a picture.\n");
    QTest::newRow("the same file fails another way") << face << missing << false << face << text;
    // The face loads again at the next movement, before the glyph fails.
    QTest::newRow("another file fails with the same message")
        << face << text << true << glyph << text;
    // Press and release load the over files too; that success counts like a hover's.
    QTest::newRow("the file loaded on a release in between")
        << face << missing << true << face << missing;
}

void tst_MinimizeButton::hoverFailureIsNewsAgain()
{
    QFETCH(QString, firstFile);
    QFETCH(QByteArray, first);
    QFETCH(bool, restoreAndClick);
    QFETCH(QString, secondFile);
    QFETCH(QByteArray, second);

    damage(firstFile, first);
    moveOnGlyph({ 5, 6 });
    // Pressed where the pointer already is, so no movement comes with the press.
    moveOnGlyph({ 6, 6 });
    QCOMPARE(m_h->reports, QStringList(failureText(firstFile, first)));
    if (restoreAndClick) {
        m_style->write(firstFile, StyleFixture::defaultSize(firstFile));
        QTest::mousePress(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
        QTest::mouseRelease(m_h->frm->ActiveGlyphMinimize, Qt::LeftButton, {}, { 6, 6 });
        QCOMPARE(face(), QStringLiteral("captionbutton_over.png"));
        QCOMPARE(glyph(), QStringLiteral("minimize_active_over.png"));
    }
    damage(secondFile, second);
    moveOnGlyph({ 4, 6 });
    moveOnGlyph({ 5, 6 });
    QCOMPARE(m_h->reports,
        QStringList({ failureText(firstFile, first), failureText(secondFile, second) }));
}

void tst_MinimizeButton::otherButtonsDoNotReact()
{
    TfrmMain& frm = *m_h->frm;
    const QList<ImageControl*> others
        = { frm.ActiveButtonClose, frm.ActiveGlyphClose, frm.ActiveButtonMaximize,
              frm.ActiveGlyphRestore, frm.InactiveButtonMinimize, frm.InactiveGlyphMinimize };
    for (ImageControl* other : others) {
        const QByteArray before = other->sourcePath();
        QTest::mouseMove(other, { 3, 3 });
        QTest::mouseClick(other, Qt::LeftButton, {}, { 3, 3 });
        QCOMPARE(other->sourcePath(), before);
    }
    QCOMPARE(face(), QStringLiteral("captionbutton_normal.png"));
    QCOMPARE(label(), QStringLiteral("lblBitmap"));
}

QTEST_MAIN(tst_MinimizeButton)
#include "tst_minimizebutton.moc"
