// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// The built program, started without any display: what it answers itself must come before the
// application object, which aborts there. Qt's own options must reach Qt, which is seen by Qt
// failing on a platform plugin that does not exist rather than the program printing its usage.
class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void refusedDirs_data();
    void refusedDirs();
    void styleDirs_data();
    void styleDirs();
};

namespace {

constexpr int reachesQt = -1;
const QByteArray usage = "Usage: framewright [--watch] [DIR...]\n";
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

// A refused DIR: one line naming it as given, no usage, status 2, and no window tried. The
// arguments go through the shell's printf so that bytes which are no UTF-8 reach the program.
void tst_CommandLine::refusedDirs_data()
{
    QTest::addColumn<QByteArray>("dir");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("missing") << QByteArray("no/such/dir")
                             << QByteArray("framewright: no/such/dir: No such file or directory\n");
    QTest::newRow("a file") << QByteArray("file")
                            << QByteArray("framewright: file: Not a directory\n");
    QTest::newRow("below a file") << QByteArray("file/Frame/")
                                  << QByteArray("framewright: file/Frame/: Not a directory\n");
    QTest::newRow("empty") << QByteArray("")
                           << QByteArray("framewright: : No such file or directory\n");
    QTest::newRow("not UTF-8") << QByteArray("dir\\377\\376")
                               << QByteArray("framewright: dir\377\376: not valid UTF-8\n");
    QTest::newRow("not UTF-8 though it exists")
        << QByteArray("\\351t\\351") << QByteArray("framewright: \351t\351: not valid UTF-8\n");
}

void tst_CommandLine::refusedDirs()
{
    QFETCH(QByteArray, dir);
    QFETCH(QByteArray, line);

    QTemporaryDir work;
    QVERIFY(work.isValid());
    QFile file(work.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(QDir(work.path()).mkdir(QStringLiteral("dir")));
    // An existing directory whose name is Latin-1: it is still refused, never converted. Removed
    // by hand, since a name that is no UTF-8 defeats QTemporaryDir's own removal.
    const QByteArray latin1 = QFile::encodeName(work.path()) + "/\xe9t\xe9";
    QVERIFY(::mkdir(latin1.constData(), 0755) == 0);
    const std::unique_ptr<const char, void (*)(const char*)> removeLatin1(
        latin1.constData(), [](const char* path) { ::rmdir(path); });

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(work.path());
    // A good DIR before the bad one: each is checked, and the first refusal ends the start.
    process.start(QStringLiteral("/bin/sh"),
        { QStringLiteral("-c"),
            QStringLiteral("exec \"$0\" --watch . \"$(printf '%1')\"")
                .arg(QString::fromLatin1(dir)),
            QStringLiteral(FRAMEWRIGHT_PROGRAM) });
    QVERIFY2(process.waitForFinished(60000), "the program did not end within a minute");
    QCOMPARE(process.readAllStandardError(), line);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
}

// The style box's texts: absolute against the working directory, cleaned, symlinks kept, one
// "/" at the end, in the order given.
void tst_CommandLine::styleDirs_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("dirs"); // relative to the working directory "w"
    QTest::addColumn<bool>("watch");

    QTest::newRow("none") << QStringList() << QStringList() << false;
    QTest::newRow("watch alone") << QStringList { "--watch" } << QStringList() << true;
    QTest::newRow("relative, no slash") << QStringList { "a" } << QStringList { "w/a/" } << false;
    QTest::newRow("trailing slashes") << QStringList { "a//" } << QStringList { "w/a/" } << false;
    QTest::newRow("dot segments") << QStringList { "./a/../b/." } << QStringList { "w/b/" }
                                  << false;
    QTest::newRow("the working directory") << QStringList { "." } << QStringList { "w/" } << false;
    QTest::newRow("absolute") << QStringList { "@/w/b" } << QStringList { "w/b/" } << false;
    QTest::newRow("order kept, watch anywhere") << QStringList { "b", "--watch", "a", "b" }
                                                << QStringList { "w/b/", "w/a/", "w/b/" } << true;
    QTest::newRow("a symlink stays itself")
        << QStringList { "link" } << QStringList { "w/link/" } << false;
    QTest::newRow("after --") << QStringList { "--", "-dash" } << QStringList { "w/-dash/" }
                              << false;
}

void tst_CommandLine::styleDirs()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, dirs);
    QFETCH(bool, watch);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString work = root.filePath(QStringLiteral("w"));
    for (const char* name : { "w/a", "w/b", "w/-dash" })
        QVERIFY(QDir(root.path()).mkpath(QLatin1String(name)));
    QVERIFY(QFile::link(work + QStringLiteral("/a"), work + QStringLiteral("/link")));

    QList<QByteArray> raw { "framewright" };
    for (QString argument : arguments)
        raw << argument.replace(QLatin1Char('@'), root.path()).toUtf8();
    const std::variant<int, StartOptions> handled = handleCommandLine(raw, work);
    QVERIFY2(std::holds_alternative<StartOptions>(handled), "the program would end here");
    const StartOptions& options = std::get<StartOptions>(handled);
    QStringList expected;
    for (const QString& dir : dirs)
        expected << root.path() + QLatin1Char('/') + dir;
    QCOMPARE(options.styleDirs, expected);
    QCOMPARE(options.watch, watch);
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
