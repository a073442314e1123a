// SPDX-License-Identifier: GPL-3.0-or-later
#include <QProcess>
#include <QTest>

// The built program, started without any display: what it answers itself must come before the
// application object, which aborts there. Qt's own options must reach Qt, which is seen by Qt
// failing on a platform plugin that does not exist rather than the program printing its usage.
class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
};

namespace {

constexpr int reachesQt = -1;
const QByteArray usage = "Usage: framewright [options]\n";
const QByteArray missingPlatform = "platform plugin \"nosuchplatform\"";

QStringList withMissingPlatform(QStringList arguments)
{
    return arguments << QStringLiteral("-platform") << QStringLiteral("nosuchplatform");
}

} // namespace

void tst_CommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("outStart");
    QTest::addColumn<QByteArray>("errPart");

    const QByteArray version = "framewright " FRAMEWRIGHT_VERSION "\n";
    QTest::newRow("--help") << QStringList { "--help" } << 0 << usage << QByteArray();
    QTest::newRow("-h") << QStringList { "-h" } << 0 << usage << QByteArray();
    QTest::newRow("--version") << QStringList { "--version" } << 0 << version << QByteArray();
    QTest::newRow("-v") << QStringList { "-v" } << 0 << version << QByteArray();
    QTest::newRow("value of a Qt option is no argument") << QStringList { "-display", ":7",
        "-style=fusion", "--version" } << 0 << version << QByteArray();
    QTest::newRow("unknown option")
        << QStringList { "--bogus" } << 2 << QByteArray()
        << QByteArray("framewright: Unknown option 'bogus'.\n\n" + usage);
    QTest::newRow("Qt 4 option gone from Qt 6")
        << QStringList { "-sync" } << 2 << QByteArray()
        << QByteArray("framewright: Unknown option 'sync'.\n\n" + usage);
    QTest::newRow("stray argument")
        << QStringList { "stray" } << 2 << QByteArray()
        << QByteArray("framewright: Unexpected argument 'stray'.\n\n" + usage);
    QTest::newRow("Qt option without its value")
        << QStringList { "-style" } << 2 << QByteArray()
        << QByteArray("framewright: Missing value after '-style'.\n\n" + usage);

    QTest::newRow("no arguments start the window")
        << QStringList() << reachesQt << QByteArray() << QByteArray("could not connect to display");
    const QStringList toolkit[] = {
        { "-platform", "nosuchplatform" },
        { "--platform", "nosuchplatform" },
        { "-style", "fusion" },
        { "-style=fusion" },
        { "--stylesheet=none.qss" },
        { "-reverse" },
        { "-widgetcount" },
        { "-qwindowgeometry", "10x10" },
        { "-geometry", "10x10" },
        { "-qmljsdebugger=port:1" },
        { "-display", ":7" },
        { "-name", "fw" },
        { "-nograb" },
    };
    for (const QStringList& arguments : toolkit)
        QTest::newRow(qPrintable(arguments.join(' ')))
            << withMissingPlatform(arguments) << reachesQt << QByteArray() << missingPlatform;
}

void tst_CommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, outStart);
    QFETCH(QByteArray, errPart);

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FRAMEWRIGHT_PROGRAM), arguments);
    QVERIFY2(process.waitForFinished(60000), "the program did not end within a minute");
    const QByteArray out = process.readAllStandardOutput();
    const QByteArray err = process.readAllStandardError();

    QVERIFY2(out.startsWith(outStart), out.constData());
    QVERIFY2(err.contains(errPart), err.constData());
    if (status == reachesQt) {
        QVERIFY2(!err.contains(usage), err.constData());
        return;
    }
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    // Help and version on standard output only, a usage error on standard error only.
    QVERIFY2(status == 0 ? err.isEmpty() : out.isEmpty(), (out + err).constData());
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
