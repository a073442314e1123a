// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"
#include "preview/PreviewPanel.h"
#include "review/PanelRender.h"
#include "style/ErrorText.h"

#include <QDir>
#include <QPainter>
#include <QtTest>

using Look = StyleFile::State;

// The render is the window's own preview: for each sample style and look, the picture equals
// the window's grab of its Panel6, both made in this one process.
class tst_PanelRender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void equalsTheWindowsGrab_data();
    void equalsTheWindowsGrab();
    void comparePictures_data();
    void comparePictures();
    void markDifferencesFade_data();
    void markDifferencesFade();

private:
    // The sample style copied under a name of the test's own, maybe with a file left out.
    QString copyStyle(const QString& style, const QString& without = {});

    QTemporaryDir m_root;
};

void tst_PanelRender::initTestCase()
{
    applyApplicationLook();
    QVERIFY(m_root.isValid());
}

QString tst_PanelRender::copyStyle(const QString& style, const QString& without)
{
    const QString source = QFINDTESTDATA(QStringLiteral("../styles/%1/Frame").arg(style));
    const QString target = m_root.filePath(style + QLatin1Char('-') + without) + QLatin1Char('/');
    QDir().mkpath(target);
    for (const QString& name : QDir(source).entryList(QDir::Files))
        if (name != without)
            QFile::copy(source + QLatin1Char('/') + name, target + name);
    return target;
}

void tst_PanelRender::equalsTheWindowsGrab_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<Look>("look");
    QTest::addColumn<QString>("missing");
    for (const char* style : { "Luna", "Silver", "Licorice" }) {
        for (const auto& [name, look] : { std::pair { "normal", Look::Normal },
                 std::pair { "over", Look::Over }, std::pair { "press", Look::Press } })
            QTest::addRow("%s %s", style, name) << style << look << QString();
    }
    // The pass stops at the failing file in both, leaving the later pieces as the form has them.
    QTest::newRow("pass stops midway") << "Silver" << Look::Normal << "captionbar_active.png";
    QTest::newRow("no over face") << "Luna" << Look::Over << "captionbutton_over.png";
    QTest::newRow("no press glyph") << "Licorice" << Look::Press << "minimize_active_press.png";
}

void tst_PanelRender::equalsTheWindowsGrab()
{
    QFETCH(QString, style);
    QFETCH(Look, look);
    QFETCH(QString, missing);
    const QString dir = copyStyle(style, missing);

    WindowHarness h;
    h.chooseStyle(dir);
    h.frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.frm.get()));
    QCoreApplication::processEvents();
    // Measured in the window, not assumed.
    QCOMPARE(h.frm->Panel6->size(), PreviewPanel::kSizeInWindow);
    ImageControl* glyph = h.frm->ActiveGlyphMinimize;
    // From off the button, so that the pointer really moves onto it whatever the row before did.
    QTest::mouseMove(h.frm->ActiveWindow, { 150, 120 });
    if (look == Look::Over)
        QTest::mouseMove(glyph, { 6, 6 });
    else if (look == Look::Press)
        QTest::mousePress(glyph, Qt::LeftButton, {}, { 6, 6 });
    const QImage window = h.frm->Panel6->grab().toImage();
    if (look == Look::Press)
        QTest::mouseRelease(glyph, Qt::LeftButton, {}, { 6, 6 });

    const PanelRender render = renderPanel(QFile::encodeName(dir), look);
    QCOMPARE(render.picture.size(), PreviewPanel::kSizeInWindow);
    const PictureDifference difference = ::comparePictures(render.picture, window);
    QVERIFY2(difference.pixels == 0,
        qPrintable(QStringLiteral("%1 pixels differ within (%2, %3) %4 x %5")
                       .arg(difference.pixels)
                       .arg(difference.bounds.x())
                       .arg(difference.bounds.y())
                       .arg(difference.bounds.width())
                       .arg(difference.bounds.height())));
    if (missing.isEmpty()) {
        QCOMPARE(render.failure, QString());
        QCOMPARE(h.reports, QStringList());
    } else {
        QVERIFY(!h.reports.isEmpty());
        QCOMPARE(ErrorText::format(render.failure), h.reports.last());
        QVERIFY(render.failure.contains(dir + missing));
    }
}

void tst_PanelRender::comparePictures_data()
{
    QTest::addColumn<QSize>("referenceSize");
    QTest::addColumn<QList<QPoint>>("changed");
    QTest::addColumn<qint64>("pixels");
    QTest::addColumn<QRect>("bounds");
    QTest::newRow("equal") << QSize(4, 3) << QList<QPoint> {} << qint64(0) << QRect();
    QTest::newRow("two corners") << QSize(4, 3) << QList<QPoint> { { 0, 0 }, { 3, 2 } } << qint64(2)
                                 << QRect(0, 0, 4, 3);
    QTest::newRow("one pixel") << QSize(4, 3) << QList<QPoint> { { 2, 1 } } << qint64(1)
                               << QRect(2, 1, 1, 1);
    // What only one picture covers differs too.
    QTest::newRow("wider reference")
        << QSize(6, 3) << QList<QPoint> {} << qint64(6) << QRect(4, 0, 2, 3);
    QTest::newRow("shorter reference")
        << QSize(4, 2) << QList<QPoint> { { 1, 0 } } << qint64(5) << QRect(0, 0, 4, 3);
}

void tst_PanelRender::comparePictures()
{
    QFETCH(QSize, referenceSize);
    QFETCH(QList<QPoint>, changed);
    QFETCH(qint64, pixels);
    QFETCH(QRect, bounds);
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QImage reference(referenceSize, QImage::Format_ARGB32);
    reference.fill(Qt::blue);
    for (const QPoint& at : changed)
        reference.setPixel(at, qRgb(0, 0, 254));

    const PictureDifference difference = ::comparePictures(picture, reference);
    QCOMPARE(difference.pixels, pixels);
    QCOMPARE(difference.bounds, bounds);
    const QImage marked = markDifferences(picture, reference);
    QCOMPARE(marked.size(), picture.size().expandedTo(referenceSize));
    qint64 red = 0;
    for (int y = 0; y < marked.height(); ++y)
        for (int x = 0; x < marked.width(); ++x)
            red += marked.pixel(x, y) == qRgb(255, 0, 0);
    QCOMPARE(red, pixels);
}

// The fade as Qt draws it for the whole picture: its grey at a quarter over white.
static QImage qtFade(const QImage& picture, QSize size)
{
    QImage faded(size, QImage::Format_RGB32);
    faded.fill(Qt::white);
    QPainter painter(&faded);
    painter.setOpacity(0.25);
    painter.drawImage(0, 0, picture.convertToFormat(QImage::Format_Grayscale8));
    return faded;
}

void tst_PanelRender::markDifferencesFade_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QSize>("referenceSize");
    // Every colour channel at many values, in runs and alone, so a colour that takes another's
    // fade shows.
    QImage colours(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < colours.height(); ++y)
        for (int x = 0; x < colours.width(); ++x)
            colours.setPixel(x, y, qRgb((x * 37 + y) % 256, (x / 3) * 11 % 256, (y * 29) % 256));
    QTest::newRow("render's format") << colours << colours.size();
    QTest::newRow("reference larger") << colours << QSize(80, 50);
    QImage translucent = colours.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < translucent.height(); ++y)
        for (int x = 0; x < translucent.width(); x += 2)
            translucent.setPixel(x, y, qRgba(200, x * 4, y * 5, (x + y) * 3 % 256));
    QTest::newRow("with alpha") << translucent << translucent.size();
    QTest::newRow("premultiplied")
        << translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied) << translucent.size();
    QTest::newRow("24-bit") << colours.convertToFormat(QImage::Format_RGB888) << colours.size();
}

void tst_PanelRender::markDifferencesFade()
{
    QFETCH(QImage, picture);
    QFETCH(QSize, referenceSize);
    // The same pixels where both cover, so the whole picture shows its fade.
    QImage reference(referenceSize, picture.format());
    reference.fill(Qt::red);
    {
        QPainter painter(&reference);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, picture);
    }
    const QImage marked = markDifferences(picture, reference);
    const QImage expected = qtFade(picture, referenceSize);
    QCOMPARE(marked.size(), referenceSize);
    int wrong = 0;
    for (int y = 0; y < marked.height(); ++y)
        for (int x = 0; x < marked.width(); ++x) {
            // What only the reference covers differs.
            const bool inPicture = x < picture.width() && y < picture.height();
            wrong += marked.pixel(x, y) != (inPicture ? expected.pixel(x, y) : qRgb(255, 0, 0));
        }
    QCOMPARE(wrong, 0);
}

QTEST_MAIN(tst_PanelRender)
#include "tst_panelrender.moc"
