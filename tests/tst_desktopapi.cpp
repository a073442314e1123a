// SPDX-License-Identifier: GPL-3.0-or-later
#include "explorer/DesktopApi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records its arguments, then renames the record into place so a reader never sees half of it.
const QByteArray recordingScript = R"(#!/bin/sh
printf '%s\n' "$#" > "$0.part"
for a; do printf '[%s]\n' "$a" >> "$0.part"; done
mv "$0.part" "$0.rec"
)";

// Waits for the test's release file (giving up on its own after ten seconds) before it
// writes its done marker, so a launcher that waited for the program would be caught.
const QByteArray waitingScript = R"(#!/bin/sh
i=0
while [ ! -e "$0.release" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
: > "$0.done"
)";

QString writeScript(const QTemporaryDir& dir, const QByteArray& body, bool executable = true)
{
    const QString path = dir.filePath(QStringLiteral("paint"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size())
        return {};
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    return path;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_DesktopApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void passesThePathAsOneArgument_data();
    void passesThePathAsOneArgument();
    void returnsWhileTheProgramRuns();
    void fallsBackToTheDefaultApplication_data();
    void fallsBackToTheDefaultApplication();
    void reportsWhenNothingCanOpenTheFile_data();
    void reportsWhenNothingCanOpenTheFile();

private:
    DesktopApi::Opener recordingOpener(bool result)
    {
        return [this, result](const QString& file) {
            m_opened << file;
            return result;
        };
    }

    // The working directory of every started program, so a command that a shell wrongly ran
    // could only touch files in here.
    QTemporaryDir m_workDir;
    QString m_previousWorkDir = QDir::currentPath();
    QStringList m_opened;
    QStringList m_reports;
    DesktopApi::FailureReport m_record = [this](const QString& text) { m_reports << text; };
};

void tst_DesktopApi::initTestCase()
{
    QVERIFY(m_workDir.isValid());
    QVERIFY(QDir::setCurrent(m_workDir.path()));
}

void tst_DesktopApi::cleanupTestCase()
{
    QDir::setCurrent(m_previousWorkDir);
}

void tst_DesktopApi::init()
{
    m_opened.clear();
    m_reports.clear();
}

void tst_DesktopApi::passesThePathAsOneArgument_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Luna/Frame/captionbar_inactive.png";
    QTest::newRow("spaces") << "My Styles/Luna Frame/captionbar_inactive.png";
    QTest::newRow("dollar") << "$HOME/${PATH}.png";
    QTest::newRow("semicolon") << "a.png;rm -rf x";
    QTest::newRow("backticks") << "`touch pwned`$(touch pwned).png";
    QTest::newRow("quotes") << "it's \"Luna\".png";
    QTest::newRow("glob, ampersand and pipe") << "* & true | cat.png";
    QTest::newRow("backslash and newline") << "a\\ b\nc.png";
    QTest::newRow("non-ASCII letters") << QStringLiteral(u"Стили/Fenêtre/标题栏.png");
    QTest::newRow("double and trailing space") << "Luna  Frame/captionbar.png ";
}

void tst_DesktopApi::passesThePathAsOneArgument()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY2(!dir.path().contains(u' '), "the stand-in program's own path must not hold a space");
    const QString program = writeScript(dir, recordingScript);
    QVERIFY(!program.isEmpty());
    const QString file = dir.filePath(name);

    DesktopApi(m_record, DesktopApi::startDetached, recordingOpener(true))
        .RunCommand((program + u' ' + file).toLocal8Bit(), 0);

    const QString record = program + QStringLiteral(".rec");
    QTRY_VERIFY(QFile::exists(record));
    QCOMPARE(readAll(record), "1\n[" + file.toLocal8Bit() + "]\n");
    QVERIFY(QDir(m_workDir.path()).isEmpty());
    QCOMPARE(m_opened, QStringList());
    QCOMPARE(m_reports, QStringList());
}

void tst_DesktopApi::returnsWhileTheProgramRuns()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = writeScript(dir, waitingScript);
    QVERIFY(!program.isEmpty());

    DesktopApi(m_record, DesktopApi::startDetached, recordingOpener(true))
        .RunCommand((program + QStringLiteral(" caption.png")).toLocal8Bit(), 0);

    QVERIFY(!QFile::exists(program + QStringLiteral(".done")));
    QFile release(program + QStringLiteral(".release"));
    QVERIFY(release.open(QIODevice::WriteOnly));
    // Waiting for the marker also ensures the stand-in has ended before its directory goes.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(program + QStringLiteral(".done")), 15000);
    QCOMPARE(m_reports, QStringList());
}

void tst_DesktopApi::fallsBackToTheDefaultApplication_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("not installed") << "missing";
    QTest::newRow("not executable") << "plain file";
    QTest::newRow("a directory") << "directory";
}

void tst_DesktopApi::fallsBackToTheDefaultApplication()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("paint"));
    if (kind == QLatin1String("plain file"))
        QVERIFY(!writeScript(dir, recordingScript, false).isEmpty());
    else if (kind == QLatin1String("directory"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("paint")));
    const QString file = dir.filePath(QStringLiteral(u"My Styles/Fenêtre/caption bar.png"));

    DesktopApi(m_record, DesktopApi::startDetached, recordingOpener(true))
        .RunCommand((program + u' ' + file).toLocal8Bit(), 0);

    QCOMPARE(m_opened, QStringList { file });
    QCOMPARE(m_reports, QStringList());
    QVERIFY(!QFile::exists(program + QStringLiteral(".rec")));
}

void tst_DesktopApi::reportsWhenNothingCanOpenTheFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("opener fails") << "Luna/Frame/captionbar_inactive.png"
                                  << QStringList { "Luna/Frame/captionbar_inactive.png" };
    QTest::newRow("no file to open") << QString() << QStringList();
}

void tst_DesktopApi::reportsWhenNothingCanOpenTheFile()
{
    QFETCH(QString, file);
    QFETCH(QStringList, opened);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("paint"));
    QString commandLine = program;
    if (!file.isEmpty())
        commandLine += u' ' + file;

    DesktopApi(m_record, DesktopApi::startDetached, recordingOpener(false))
        .RunCommand(commandLine.toLocal8Bit(), 0);

    QCOMPARE(m_opened, opened);
    QCOMPARE(m_reports.size(), 1);
    QVERIFY2(m_reports.first().contains(u'"' + (file.isEmpty() ? program : file) + u'"'),
        qPrintable(m_reports.first()));
}

QTEST_GUILESS_MAIN(tst_DesktopApi)
#include "tst_desktopapi.moc"
