// SPDX-License-Identifier: GPL-3.0-or-later
#include "PixelCompare.h"

#include <QDirIterator>
#include <QProcess>
#include <QtTest>

// The art program, run into an empty folder of the test's own, must draw every committed file of
// resources/ and styles/ as it is, and nothing more: a change to the program or a picture edited
// by hand would otherwise drift from the other unseen.
class tst_DrawArt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void files_data();
    void files();

private:
    QTemporaryDir m_out;
    QString m_source;
};

// Relative to root, for example "styles/Luna/Frame/captionbar_active.png".
static QStringList filesUnder(const QString& root)
{
    QStringList files;
    for (const char* top : { "resources", "styles" }) {
        QDirIterator it(root + QLatin1Char('/') + QLatin1String(top),
            QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(root).relativeFilePath(it.next());
    }
    return files;
}

static QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_DrawArt::initTestCase()
{
    QVERIFY(m_out.isValid());
    m_source = QFileInfo(QFINDTESTDATA("../resources")).absolutePath();
    QVERIFY2(!m_source.isEmpty() && QDir(m_source + QStringLiteral("/styles")).exists(),
        "resources/ and styles/ are not beside the tests");
    QProcess drawart;
    drawart.start(QStringLiteral(FW_DRAWART), { m_out.path() });
    QVERIFY2(drawart.waitForFinished(60000), qPrintable(drawart.errorString()));
    const QByteArray err = drawart.readAllStandardError();
    QVERIFY2(
        drawart.exitStatus() == QProcess::NormalExit && drawart.exitCode() == 0, err.constData());
    QVERIFY2(err.isEmpty(), err.constData());
}

void tst_DrawArt::files_data()
{
    QTest::addColumn<QString>("file");
    QStringList all = filesUnder(m_source) + filesUnder(m_out.path());
    all.sort();
    all.removeDuplicates();
    QVERIFY2(all.size() > 100, "resources/ and styles/ are next to empty");
    for (const QString& file : std::as_const(all))
        QTest::newRow(qPrintable(file)) << file;
}

void tst_DrawArt::files()
{
    QFETCH(QString, file);
    const QString made = m_out.filePath(file);
    const QString committed = m_source + QLatin1Char('/') + file;
    QVERIFY2(QFileInfo::exists(made),
        qPrintable(file + QStringLiteral(" is committed, but drawart no longer draws it")));
    QVERIFY2(QFileInfo::exists(committed),
        qPrintable(file + QStringLiteral(" is drawn by drawart, but not committed")));
    if (file.endsWith(QLatin1String(".png")) || file.endsWith(QLatin1String(".bmp"))) {
        const QString why = pixelDifference(made, committed);
        if (!why.isEmpty())
            m_out.setAutoRemove(false);
        QVERIFY2(why.isEmpty(),
            qPrintable(file + QStringLiteral(": ") + why
                + QStringLiteral(" (the new picture is kept: ") + made + QLatin1Char(')')));
    } else {
        // The resource lists: text the build reads, so every byte counts.
        QVERIFY2(bytesOf(made) == bytesOf(committed),
            qPrintable(file + QStringLiteral(" differs from what drawart writes")));
    }
}

QTEST_GUILESS_MAIN(tst_DrawArt)
#include "tst_drawart.moc"
