// SPDX-License-Identifier: GPL-3.0-or-later
#include "PixelCompare.h"
#include "ReadmeFonts.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// Every picture of docs/ made again as the README says, with the README's fonts only, into the
// test's own directory: the README's framewright-style commands and scripts (after the lines of
// their block that prepare them), the sample styles' renders, and tools/run.sh's screenshot. Each
// must equal the committed picture, so a change of what the program draws cannot leave the README
// showing the old one.
class tst_DocPictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictures_data();
    void pictures();

private:
    QString make(const QString& command);

    QTemporaryDir m_root;
    QString m_source;
    QString m_work; // the commands' working directory, with styles/ and an empty docs/
    QProcessEnvironment m_env;
    QSet<QString> m_prepared; // lines that made no picture, each run once
};

static const QString kScreenshot = QStringLiteral("screenshot");

void tst_DocPictures::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_source = QFileInfo(QFINDTESTDATA("../README.md")).absolutePath();
    QVERIFY2(!m_source.isEmpty() && QDir(m_source + QStringLiteral("/docs")).exists(),
        "README.md and docs/ are not beside the tests");
    QString why;
    const QString fonts = writeReadmeFontConfig(m_root.path(), &why);
    QVERIFY2(!fonts.isEmpty(), qPrintable(why));

    m_work = m_root.filePath(QStringLiteral("work"));
    QVERIFY(QDir().mkpath(m_work + QStringLiteral("/docs")));
    QVERIFY(QFile::link(m_source + QStringLiteral("/styles"), m_work + QStringLiteral("/styles")));

    m_env = QProcessEnvironment::systemEnvironment();
    // framewright-style picks its own platform; the screenshot's program gets its X server.
    for (const char* name : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QT_STYLE_OVERRIDE",
             "QT_SCALE_FACTOR", "QT_FONT_DPI" })
        m_env.remove(QLatin1String(name));
    const QString home = m_root.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home));
    m_env.insert(QStringLiteral("HOME"), home);
    m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    m_env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    m_env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    m_env.insert(QStringLiteral("FONTCONFIG_FILE"), fonts);
}

void tst_DocPictures::pictures_data()
{
    QTest::addColumn<QString>("picture"); // under docs/
    QTest::addColumn<QString>("command"); // empty when nothing makes it
    QTest::addColumn<QStringList>("before"); // its block's earlier lines that make no picture

    QFile readme(m_source + QStringLiteral("/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    QMap<QString, QString> commands;
    QMap<QString, QStringList> before;
    // The README's shell blocks, as a reader copies them; a picture no block makes is a row
    // of its own below.
    const QRegularExpression output(QStringLiteral(" -o docs/(\\S+\\.png)(\\s|$)"));
    const QRegularExpression script(QStringLiteral("^(tests|tools)/\\S+\\.py "));
    bool inShell = false;
    QStringList prepare;
    while (!readme.atEnd()) {
        const QString line = QString::fromUtf8(readme.readLine()).trimmed();
        if (line.startsWith(QLatin1String("```"))) {
            inShell = !inShell && line == QLatin1String("```sh");
            prepare.clear();
            continue;
        }
        const bool ours = line.startsWith(QLatin1String("framewright-style "));
        const QRegularExpressionMatch match = output.match(line);
        if (!inShell || !(ours || script.match(line).hasMatch()))
            continue;
        if (match.hasMatch()) {
            commands.insert(match.captured(1), line);
            before.insert(match.captured(1), prepare);
        } else if (ours) {
            prepare.append(line);
        }
    }
    QVERIFY2(
        commands.size() >= 3, "the README's shell blocks make fewer than three docs/ pictures");
    // The sample styles' renders, whose command is render's simplest form.
    const QStringList styles
        = QDir(m_source + QStringLiteral("/styles")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& style : styles) {
        const QString picture = QStringLiteral("render-%1.png").arg(style.toLower());
        commands.insert(picture,
            QStringLiteral("framewright-style render styles/%1/Frame -o docs/%2")
                .arg(style, picture));
    }
    commands.insert(QStringLiteral("screenshot.png"), kScreenshot);

    const QStringList committed = QDir(m_source + QStringLiteral("/docs"))
                                      .entryList({ QStringLiteral("*.png") }, QDir::Files);
    for (const QString& picture : committed) {
        if (!commands.contains(picture))
            commands.insert(picture, QString());
    }
    for (auto it = commands.cbegin(); it != commands.cend(); ++it)
        QTest::newRow(qPrintable(QStringLiteral("docs/") + it.key()))
            << it.key() << it.value() << before.value(it.key());
}

// Runs one line of the README, or the screenshot, in the working directory; returns why it
// failed, or an empty string.
QString tst_DocPictures::make(const QString& command)
{
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.setWorkingDirectory(m_work);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments = QProcess::splitCommand(command);
    const QString program = arguments.takeFirst();
    if (command == kScreenshot) {
        process.start(QStringLiteral(FW_PYTHON3),
            { m_source + QStringLiteral("/tests/e2e/screenshot.py"),
                QStringLiteral("--program-dir"), QStringLiteral(FW_PROGRAM_DIR),
                QStringLiteral("--source"), m_source, QStringLiteral("--out"),
                m_work + QStringLiteral("/docs/screenshot.png") });
    } else if (program == QLatin1String("framewright-style")) {
        process.start(QStringLiteral(FW_STYLE_PROGRAM), arguments);
    } else {
        // A script of the source tree, which the reader runs from the source folder.
        arguments.prepend(m_source + QLatin1Char('/') + program);
        process.start(QStringLiteral(FW_PYTHON3), arguments);
    }
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return command + QStringLiteral(": ") + process.errorString();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return command + QStringLiteral(" failed:\n") + QString::fromLocal8Bit(process.readAll());
    return {};
}

void tst_DocPictures::pictures()
{
    QFETCH(QString, picture);
    QFETCH(QString, command);
    QFETCH(QStringList, before);
    QVERIFY2(!command.isEmpty(),
        qPrintable(QStringLiteral("docs/") + picture
            + QStringLiteral(" is committed, but no command of the README makes it")));
    const QString committed = m_source + QStringLiteral("/docs/") + picture;
    QVERIFY2(QFileInfo::exists(committed),
        qPrintable(QStringLiteral("docs/") + picture
            + QStringLiteral(" is made by the README's commands, but not committed")));
    for (const QString& line : before) {
        if (m_prepared.contains(line))
            continue;
        const QString failed = make(line);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        m_prepared.insert(line);
    }
    const QString failed = make(command);
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    const QString out = m_work + QStringLiteral("/docs/") + picture;
    const QString why = pixelDifference(out, committed);
    // Kept for a look, or to be committed when the change is meant.
    if (!why.isEmpty())
        m_root.setAutoRemove(false);
    QVERIFY2(why.isEmpty(),
        qPrintable(QStringLiteral("docs/") + picture + QStringLiteral(": ") + why
            + QStringLiteral(" (the new picture is kept: ") + out + QLatin1Char(')')));
}

QTEST_GUILESS_MAIN(tst_DocPictures)
#include "tst_docpictures.moc"
