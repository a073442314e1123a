#include "BitmapCases.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

// framewright-style as a style's CI runs it: a separate process, no display, its fonts pinned to
// the README's, every file it may touch inside the test's own directory.
class TestStyleCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exitStatus_data();
    void exitStatus();
    void checkLines();
    void jsonShape();
    void badInput_data();
    void badInput();
    void unwritableOutput_data();
    void unwritableOutput();
    void references_data();
    void references();

private:
    struct Run
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };
    // Arguments as raw bytes, through a shell, so that bytes that are no UTF-8 reach argv as
    // they are; "@" stands for the test's directory.
    Run run(QList<QByteArray> arguments, bool asNobody = false);
    QByteArray copyStyle(const QByteArray& name, const char* style = "Luna");
    QStringList filesIn(const QString& dir) const { return QDir(dir).entryList(QDir::Files); }

    QTemporaryDir m_root;
    QByteArray m_dir; // m_root's path, with its trailing "/"
    QProcessEnvironment m_env;
};

namespace {

// A word for sh that printf turns back into exactly these bytes.
QByteArray shellWord(const QByteArray& bytes)
{
    QByteArray escaped;
    for (const char c : bytes) {
        if (std::isalnum(uchar(c)) || c == '/' || c == '.' || c == '_' || c == '-')
            escaped += c;
        else
            escaped += "\\0" + QByteArray::number(uchar(c), 8).rightJustified(3, '0');
    }
    return "\"$(printf '%b' '" + escaped + "')\"";
}

} // namespace

void TestStyleCli::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_dir = QFile::encodeName(m_root.path()) + '/';
    // Another user must reach the test's files for the rows that drop to one.
    QVERIFY(::chmod(m_root.path().toLocal8Bit(), 0755) == 0);
    for (const char* dir : { "home", "run", "cache" })
        QVERIFY(QDir().mkdir(m_root.filePath(QLatin1String(dir))));
    for (const char* fonts : { "dejavu", "liberation" })
        QVERIFY2(QFileInfo::exists(QStringLiteral("/usr/share/fonts/truetype/%1").arg(fonts)),
            "the README's fonts (fonts-dejavu-core, fonts-liberation) are not installed");
    QFile conf(m_root.filePath(QStringLiteral("fonts.conf")));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <dir>/usr/share/fonts/truetype/liberation</dir>
  <cachedir>)"
        + m_dir + R"(cache</cachedir>
  <alias binding="same"><family>helvetica</family><accept><family>Liberation Sans</family></accept></alias>
</fontconfig>
)");
    conf.close();
    QVERIFY(conf.setPermissions(conf.permissions() | QFile::ReadOther));

    m_env = QProcessEnvironment::systemEnvironment();
    // No display and no platform chosen: the program must manage on its own.
    for (const char* name : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" })
        m_env.remove(QLatin1String(name));
    m_env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
    m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.filePath(QStringLiteral("run")));
    m_env.insert(QStringLiteral("XDG_CACHE_HOME"), m_root.filePath(QStringLiteral("cache")));
    m_env.insert(QStringLiteral("FONTCONFIG_FILE"), conf.fileName());
}

TestStyleCli::Run TestStyleCli::run(QList<QByteArray> arguments, bool asNobody)
{
    QByteArray command = "exec ";
    if (asNobody)
        command += "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    command += shellWord(FW_STYLE_PROGRAM);
    for (QByteArray& argument : arguments)
        command += ' ' + shellWord(argument.replace('@', m_dir));
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.start(
        QStringLiteral("/bin/sh"), { QStringLiteral("-c"), QString::fromLatin1(command) });
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QByteArray TestStyleCli::copyStyle(const QByteArray& name, const char* style)
{
    const QString source = QFINDTESTDATA(QStringLiteral("../styles/%1/Frame").arg(style));
    const QByteArray target = m_dir + name + '/';
    if (::mkdir(target.constData(), 0755) != 0)
        return {};
    for (const QString& file : QDir(source).entryList(QDir::Files))
        QFile::copy(source + QLatin1Char('/') + file, QFile::decodeName(target) + file);
    return target;
}

void TestStyleCli::exitStatus_data()
{
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("stdoutStart");
    QTest::addColumn<QByteArray>("stderrStart");
    const QByteArray usage = "framewright-style: ";
    QTest::newRow("nothing") << QList<QByteArray> {} << 2 << QByteArray() << usage;
    QTest::newRow("--help") << QList<QByteArray> { "--help" } << 0
                            << QByteArray("Usage: framewright-style check") << QByteArray();
    QTest::newRow("check --help") << QList<QByteArray> { "check", "--help" } << 0
                                  << QByteArray("Usage: framewright-style check") << QByteArray();
    QTest::newRow("--version") << QList<QByteArray> { "--version" } << 0
                               << QByteArray("framewright-style (Framewright) 1.") << QByteArray();
    QTest::newRow("unknown command") << QList<QByteArray> { "draw", "@Luna" } << 2 << QByteArray()
                                     << usage + "unknown command 'draw'";
    // An unknown option is bad usage, not a problem found.
    QTest::newRow("unknown option") << QList<QByteArray> { "check", "--fast", "@Luna" } << 2
                                    << QByteArray() << usage + "Unknown option 'fast'";
    QTest::newRow("check without dir")
        << QList<QByteArray> { "check" } << 2 << QByteArray() << usage;
    QTest::newRow("unknown format") << QList<QByteArray> { "check", "--format", "xml", "@Luna" }
                                    << 2 << QByteArray() << usage + "unknown format 'xml'";
    QTest::newRow("render without -o") << QList<QByteArray> { "render", "@Luna" } << 2
                                       << QByteArray() << usage + "no output picture";
    QTest::newRow("two dirs") << QList<QByteArray> { "render", "@Luna", "@Luna", "-o", "@x.png" }
                              << 2 << QByteArray() << usage;
    QTest::newRow("unknown state")
        << QList<QByteArray> { "render", "@Luna", "-o", "@x.png", "--minimize", "hover" } << 2
        << QByteArray() << usage + "unknown minimize state 'hover'";
    QTest::newRow("diff without compare")
        << QList<QByteArray> { "render", "@Luna", "-o", "@x.png", "--diff", "@d.png" } << 2
        << QByteArray() << usage + "--diff needs --compare";
    QTest::newRow("clean under --strict")
        << QList<QByteArray> { "check", "--strict", "@Luna", "@Luna/" } << 0
        << QByteArray("@Luna: 0 errors, 0 warnings\n@Luna/: 0 errors, 0 warnings\n")
        << QByteArray();
    QTest::newRow("warnings alone")
        << QList<QByteArray> { "check", "@Near" } << 0
        << QByteArray("@Near/minimize_active_ovr.png: warning: ") << QByteArray();
    QTest::newRow("warnings under --strict")
        << QList<QByteArray> { "check", "--strict", "@Near" } << 1
        << QByteArray("@Near/minimize_active_ovr.png: error: ") << QByteArray();
    QTest::newRow("render") << QList<QByteArray> { "render", "@Luna", "-o", "@x.png" } << 0
                            << QByteArray() << QByteArray();
}

void TestStyleCli::exitStatus()
{
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, stdoutStart);
    QFETCH(QByteArray, stderrStart);
    if (!QFileInfo::exists(QFile::decodeName(m_dir + "Luna"))) {
        QVERIFY(!copyStyle("Luna").isEmpty());
        QVERIFY(!copyStyle("Near").isEmpty());
        QFile(QFile::decodeName(m_dir + "Near/minimize_active_ovr.png")).open(QIODevice::WriteOnly);
    }
    QFile::remove(QFile::decodeName(m_dir + "x.png"));

    const Run r = run(arguments);
    QCOMPARE(r.status, status);
    QVERIFY2(r.out.startsWith(stdoutStart.replace('@', m_dir)), r.out.constData());
    QVERIFY2(r.err.startsWith(stderrStart), r.err.constData());
    if (status == 2)
        QVERIFY2(r.err.contains("\nUsage: framewright-style "), r.err.constData());
    QCOMPARE(QFileInfo::exists(QFile::decodeName(m_dir + "x.png")),
        arguments.contains("render") && status != 2);
}

void TestStyleCli::checkLines()
{
    const QByteArray broken = copyStyle("Broken");
    QVERIFY(QFile::remove(QFile::decodeName(broken + "captionbar_active.png")));
    const Run r = run({ "check", broken, "@missing" });
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out,
        broken + "captionbar_active.png: error: Cannot open file \"" + broken
            + "captionbar_active.png\". No such file or directory.\n" + broken
            + ": 1 error, 0 warnings\n"
            // A directory that cannot be listed: its one line.
            + m_dir + "missing: error: No such file or directory\n");
}

void TestStyleCli::jsonShape()
{
    const QByteArray near = copyStyle("JsonNear");
    QFile(QFile::decodeName(near + "minimize_active_ovr.png")).open(QIODevice::WriteOnly);
    const Run r = run({ "check", "--format", "json", near, "@gone" });
    QCOMPARE(r.status, 1);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(r.out, &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QJsonObject root = document.object();
    QCOMPARE(root.keys(), QStringList { QStringLiteral("directories") });
    const QJsonArray dirs = root.value(QLatin1String("directories")).toArray();
    QCOMPARE(dirs.size(), 2);
    const QStringList dirKeys { "dir", "errors", "problems", "warnings" };
    const QStringList problemKeys { "file", "message", "severity" };
    for (const QJsonValue& dir : dirs)
        QCOMPARE(dir.toObject().keys(), dirKeys);
    const QJsonObject first = dirs.at(0).toObject();
    QCOMPARE(first.value(QLatin1String("dir")).toString(), QFile::decodeName(near));
    QCOMPARE(first.value(QLatin1String("errors")).toInt(-1), 0);
    QCOMPARE(first.value(QLatin1String("warnings")).toInt(-1), 1);
    const QJsonObject warning = first.value(QLatin1String("problems")).toArray().at(0).toObject();
    QCOMPARE(warning.keys(), problemKeys);
    QCOMPARE(
        warning.value(QLatin1String("file")).toString(), QStringLiteral("minimize_active_ovr.png"));
    QCOMPARE(warning.value(QLatin1String("severity")).toString(), QStringLiteral("warning"));
    QVERIFY(warning.value(QLatin1String("message"))
                .toString()
                .endsWith(QLatin1String("did you mean minimize_active_over.png?")));
    const QJsonObject gone = dirs.at(1).toObject();
    QCOMPARE(gone.value(QLatin1String("errors")).toInt(-1), 1);
    const QJsonObject dirError = gone.value(QLatin1String("problems")).toArray().at(0).toObject();
    QCOMPARE(dirError.value(QLatin1String("file")).toString(), QString());
    QCOMPARE(dirError.value(QLatin1String("severity")).toString(), QStringLiteral("error"));
    QCOMPARE(dirError.value(QLatin1String("message")).toString(),
        QStringLiteral("No such file or directory"));
}

void TestStyleCli::badInput_data()
{
    using Make = std::function<QByteArray(TestStyleCli*)>;
    QTest::addColumn<Make>("make");
    QTest::addColumn<bool>("asNobody");
    QTest::addColumn<QByteArray>("checkLine"); // "$" stands for the directory as printed
    QTest::addColumn<QByteArray>("renderLine");

    const QByteArray maskMissing = "Cannot open file \"$/frame_mask_left.bmp\". ";
    QTest::newRow("nonexistent dir") << Make([](TestStyleCli* t) { return t->m_dir + "none"; })
                                     << false << QByteArray("$: error: No such file or directory")
                                     << maskMissing + "No such file or directory.";
    QTest::newRow("file as dir") << Make([](TestStyleCli* t) {
        const QByteArray file = t->m_dir + "plain";
        QFile(QFile::decodeName(file)).open(QIODevice::WriteOnly);
        return file;
    }) << false << QByteArray("$: error: Not a directory")
                                 << maskMissing + "Not a directory.";
    QTest::newRow("unreadable dir") << Make([](TestStyleCli* t) {
        const QByteArray dir = t->copyStyle("Locked");
        ::chmod(dir.constData(), 0700);
        return dir.chopped(1);
    }) << true << QByteArray("$: error: Permission denied")
                                    << maskMissing + "Permission denied.";
    QTest::newRow("symlink loop") << Make([](TestStyleCli* t) {
        const QByteArray link = t->m_dir + "loop";
        ::symlink(link.constData(), link.constData());
        return link;
    }) << false << QByteArray("$: error: Too many levels of symbolic links")
                                  << maskMissing + "Too many levels of symbolic links.";
    QTest::newRow("fifo named like a style file") << Make([](TestStyleCli* t) {
        const QByteArray dir = t->copyStyle("Fifo");
        QFile::remove(QFile::decodeName(dir + "frame_mask_left.bmp"));
        ::mkfifo((dir + "frame_mask_left.bmp").constData(), 0644);
        return dir.chopped(1);
    }) << false << QByteArray("$/frame_mask_left.bmp: error: Image format not recognized.")
                                                  << QByteArray("Image format not recognized.");
    QTest::newRow("dir named like a style file") << Make([](TestStyleCli* t) {
        const QByteArray dir = t->copyStyle("Nested");
        QFile::remove(QFile::decodeName(dir + "frame_mask_left.bmp"));
        ::mkdir((dir + "frame_mask_left.bmp").constData(), 0755);
        return dir.chopped(1);
    }) << false << QByteArray("$/frame_mask_left.bmp: error: Cannot open file")
                                                 << maskMissing + "Is a directory.";
    QTest::newRow("png declaring 20000 x 20000") << Make([](TestStyleCli* t) {
        const QByteArray dir = t->copyStyle("Huge");
        QByteArray header = BitmapCases::png(QImage(2, 2, QImage::Format_RGB32)).mid(16, 13);
        qToBigEndian<quint32>(20000, header.data());
        qToBigEndian<quint32>(20000, header.data() + 4);
        QFile huge(QFile::decodeName(dir + "captionbar_left_inactive.png"));
        huge.open(QIODevice::WriteOnly);
        huge.write(BitmapCases::withChunk(
            BitmapCases::png(QImage(2, 2, QImage::Format_RGB32)), "IHDR", header));
        return dir.chopped(1);
    }) << false << QByteArray("$/captionbar_left_inactive.png: error: Image format not recognized.")
                                                 << QByteArray("Image format not recognized.");
    // The name's bytes survive the command line and come out escaped.
    QTest::newRow("name not UTF-8") << Make([](TestStyleCli* t) {
        const QByteArray dir = t->copyStyle("Lat\xe9n");
        QFile::remove(QFile::decodeName(dir + "frame_mask_left.bmp"));
        return dir.chopped(1);
    }) << false << QByteArray("$/frame_mask_left.bmp: error: " + maskMissing)
                                    << maskMissing + "No such file or directory.";
}

void TestStyleCli::badInput()
{
    using Make = std::function<QByteArray(TestStyleCli*)>;
    QFETCH(Make, make);
    QFETCH(bool, asNobody);
    QFETCH(QByteArray, checkLine);
    QFETCH(QByteArray, renderLine);
    const QByteArray dir = make(this);
    QByteArray shown = dir;
    shown.replace("\xe9", "\\xe9");
    if (asNobody && run({ "--version" }, true).status != 0)
        QFAIL("cannot run the program as user 65534 through setpriv");

    // Any user may write here: the one place a run may leave a file.
    const QString outDir = m_root.filePath(QStringLiteral("out"));
    QDir().mkdir(outDir);
    QVERIFY(QFile::setPermissions(outDir, QFileDevice::Permissions(0x7777)));
    const QByteArray out = QFile::encodeName(outDir) + "/x.png";
    QFile::remove(QFile::decodeName(out));
    const QStringList before = filesIn(m_root.path());

    const Run checked = run({ "check", dir }, asNobody);
    QCOMPARE(checked.status, 1);
    checkLine.replace('$', shown);
    QVERIFY2(checked.out.startsWith(checkLine), checked.out.constData());
    QCOMPARE(checked.err, QByteArray());

    const Run rendered = run({ "render", dir, "-o", out }, asNobody);
    QCOMPARE(rendered.status, 1);
    QCOMPARE(rendered.err, renderLine.replace('$', shown) + '\n');
    QCOMPARE(filesIn(m_root.path()), before);
    QCOMPARE(filesIn(outDir), QStringList { QStringLiteral("x.png") });
}

void TestStyleCli::unwritableOutput_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("no such directory") << QByteArray("@absent/x.png") << QByteArray("No such file");
    QTest::newRow("directory of another user")
        << QByteArray("@locked/x.png") << QByteArray("Permission denied");
    QTest::newRow("a directory") << QByteArray("@locked") << QByteArray();
}

void TestStyleCli::unwritableOutput()
{
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, reason);
    const QByteArray style = copyStyle(QByteArray("W-") + QTest::currentDataTag());
    QDir().mkdir(m_root.filePath(QStringLiteral("locked")));
    if (run({ "--version" }, true).status != 0)
        QFAIL("cannot run the program as user 65534 through setpriv");
    const QStringList before = filesIn(m_root.filePath(QStringLiteral("locked")));

    const Run r = run({ "render", style, "-o", target }, true);
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.startsWith(
                 "framewright-style: cannot write " + target.replace('@', m_dir) + ": " + reason),
        r.err.constData());
    // Not even QSaveFile's temporary file is left behind.
    QCOMPARE(filesIn(m_root.filePath(QStringLiteral("locked"))), before);
}

void TestStyleCli::references_data()
{
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<QByteArray>("look");
    for (const char* style : { "Luna", "Silver", "Licorice" })
        QTest::newRow(style) << QByteArray(style) << QByteArray("normal");
    QTest::newRow("Luna over") << QByteArray("Luna") << QByteArray("over");
}

void TestStyleCli::references()
{
    QFETCH(QByteArray, style);
    QFETCH(QByteArray, look);
    const QString reference = QFINDTESTDATA(QStringLiteral("references/%1.png").arg(style));
    QVERIFY2(!reference.isEmpty(), "the reference renders are not beside the tests");
    const QByteArray dir = QFile::encodeName(
        QFINDTESTDATA(QStringLiteral("../styles/%1/Frame").arg(QLatin1String(style))));
    const QByteArray out = m_dir + "ref-" + style + '-' + look + ".png";
    const QByteArray diff = m_dir + "diff-" + style + '-' + look + ".png";

    QCOMPARE(run({ "check", "--strict", dir }).status, 0);
    const Run r = run({ "render", dir, "-o", out, "--minimize", look, "--compare",
        QFile::encodeName(reference), "--diff", diff });
    if (look == "normal") {
        QVERIFY2(r.status == 0, (r.out + r.err).constData());
        QCOMPARE(r.out, QByteArray());
    } else {
        // The hovered button is the one place that differs from the normal reference.
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.contains(" pixels differ from ")
                && r.out.contains(", within 19x18 at (408, 285)"),
            r.out.constData());
        QVERIFY(QFileInfo::exists(QFile::decodeName(diff)));
    }
}

QTEST_MAIN(TestStyleCli)
#include "tst_stylecli.moc"
