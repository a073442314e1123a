// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapCases.h"
#include "ReadmeFonts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

// framewright-style as a style's CI runs it: a process of its own, no display, its fonts pinned
// to the README's, every file it may touch inside the test's own directory. Command lines are
// written for sh, so bytes that are no UTF-8 reach argv as they are; "@" is the test's directory.
class tst_StyleCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void exitStatus_data();
    void exitStatus();
    void checkLinesAndJson();
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
    Run sh(const QByteArray& script);
    Run run(const QByteArray& arguments, bool asNobody = false)
    {
        return sh(
            "exec " + (asNobody ? m_nobody : QByteArray()) + FW_STYLE_PROGRAM " " + arguments);
    }
    QByteArray at(QByteArray text) const { return text.replace('@', m_dir); }

    QTemporaryDir m_root;
    QByteArray m_dir; // with its trailing "/"
    const QByteArray m_nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    QProcessEnvironment m_env;
};

void tst_StyleCli::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_dir = QFile::encodeName(m_root.path()) + '/';
    const QString styles = QFINDTESTDATA("../styles");
    QVERIFY2(!styles.isEmpty(), "the sample styles are not beside the tests");
    // The README's fonts alone: a machine with more fonts gives the same pixels.
    QString why;
    const QString fonts = writeReadmeFontConfig(m_root.path(), &why);
    QVERIFY2(!fonts.isEmpty(), qPrintable(why));
    QFile huge(m_root.filePath(QStringLiteral("huge.png")));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    const QByteArray small = BitmapCases::png(QImage(2, 2, QImage::Format_RGB32));
    QByteArray header = small.mid(16, 13);
    qToBigEndian<quint32>(20000, header.data());
    qToBigEndian<quint32>(20000, header.data() + 4);
    huge.write(BitmapCases::withChunk(small, "IHDR", header));
    huge.close();

    m_env = QProcessEnvironment::systemEnvironment();
    // No display and no platform chosen: the program must manage on its own.
    for (const char* name : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" })
        m_env.remove(QLatin1String(name));
    for (const char* name : { "HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME" })
        m_env.insert(QLatin1String(name), m_root.filePath(QStringLiteral("cache")));
    m_env.insert(QStringLiteral("FONTCONFIG_FILE"), fonts);
    // Another user must reach the test's files for the rows that drop to one.
    QCOMPARE(sh("mkdir @cache @out && chmod 0755 @ && chmod 0777 @out && chmod 0644 @*.* && cp -r "
                 + QFile::encodeName(styles) + "/Luna/Frame @Luna")
                 .status,
        0);
}

void tst_StyleCli::cleanupTestCase()
{
    // QTemporaryDir cannot name what is no UTF-8.
    sh("rm -rf @*");
}

tst_StyleCli::Run tst_StyleCli::sh(const QByteArray& script)
{
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.start(
        QStringLiteral("/bin/sh"), { QStringLiteral("-c"), QString::fromLatin1(at(script)) });
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

void tst_StyleCli::exitStatus_data()
{
    QTest::addColumn<QByteArray>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out"); // how standard output starts
    QTest::addColumn<QByteArray>("err"); // how standard error starts
    const QByteArray usage = "framewright-style: ";
    QTest::newRow("nothing") << QByteArray() << 2 << QByteArray() << usage + "no command given";
    QTest::newRow("--help") << QByteArray("check --help") << 0
                            << QByteArray("Usage: framewright-style check") << QByteArray();
    QTest::newRow("--version") << QByteArray("--version") << 0
                               << QByteArray("framewright-style (Framewright) 1.") << QByteArray();
    QTest::newRow("unknown command")
        << QByteArray("draw @Luna") << 2 << QByteArray() << usage + "unknown command 'draw'";
    // Bad usage, not a problem found.
    QTest::newRow("unknown option")
        << QByteArray("check --fast @Luna") << 2 << QByteArray() << usage + "Unknown option 'fast'";
    QTest::newRow("no dir") << QByteArray("check") << 2 << QByteArray() << usage;
    QTest::newRow("unknown format") << QByteArray("check --format xml @Luna") << 2 << QByteArray()
                                    << usage + "unknown format 'xml'";
    QTest::newRow("no -o") << QByteArray("render @Luna") << 2 << QByteArray()
                           << usage + "no output picture";
    QTest::newRow("two dirs") << QByteArray("render @Luna @Luna -o @out/x.png") << 2 << QByteArray()
                              << usage + "one style directory";
    QTest::newRow("unknown state") << QByteArray("render @Luna -o @out/x.png --minimize hover") << 2
                                   << QByteArray() << usage + "unknown minimize state";
    QTest::newRow("diff alone") << QByteArray("render @Luna -o @out/x.png --diff @out/d.png") << 2
                                << QByteArray() << usage + "--diff needs --compare";
    QTest::newRow("clean, strict") << QByteArray("check --strict @Luna @Luna/") << 0
                                   << QByteArray("@Luna: 0 errors, 0 warnings\n"
                                                 "@Luna/: 0 errors, 0 warnings\n")
                                   << QByteArray();
    QTest::newRow("warning") << QByteArray("check @Near") << 0
                             << QByteArray("@Near/minimize_active_ovr.png: warning: ")
                             << QByteArray();
    QTest::newRow("warning, strict")
        << QByteArray("check --strict @Near") << 1
        << QByteArray("@Near/minimize_active_ovr.png: error: ") << QByteArray();
    QTest::newRow("render") << QByteArray("render @Luna -o @out/x.png") << 0 << QByteArray()
                            << QByteArray();
    QTest::newRow("sheet") << QByteArray("sheet @Luna -o @out/x.png --scale 8") << 0 << QByteArray()
                           << QByteArray();
    QTest::newRow("states") << QByteArray("states @Luna/ --output @out/x.png") << 0 << QByteArray()
                            << QByteArray();
    QTest::newRow("sheet without -o")
        << QByteArray("sheet @Luna") << 2 << QByteArray() << usage + "no output picture";
    QTest::newRow("states, two dirs") << QByteArray("states @Luna @Luna -o @out/x.png") << 2
                                      << QByteArray() << usage + "one style directory";
    QTest::newRow("sheet scale 0")
        << QByteArray("sheet @Luna -o @out/x.png --scale 0") << 2 << QByteArray()
        << usage + "bad scale '0': a whole number from 1 to 8";
    QTest::newRow("states scale 9") << QByteArray("states @Luna -o @out/x.png --scale 9") << 2
                                    << QByteArray() << usage + "bad scale '9'";
    QTest::newRow("sheet scale 2.0") << QByteArray("sheet @Luna -o @out/x.png --scale 2.0") << 2
                                     << QByteArray() << usage + "bad scale '2.0'";
    QTest::newRow("sheet option of render")
        << QByteArray("sheet @Luna -o @out/x.png --minimize over") << 2 << QByteArray()
        << usage + "Unknown option 'minimize'";
    // The range's ends are in; one pixel beyond either is out, and so is anything but digits.
    QTest::newRow("size smallest") << QByteArray("render @Luna -o @out/x.png --size 113x38") << 0
                                   << QByteArray() << QByteArray();
    QTest::newRow("size largest, over, compared") << QByteArray(
        "render @Luna -o @out/x.png --size 3840x2160 --minimize over --compare "
        "@out/x.png") << 0 << QByteArray() << QByteArray();
    const QByteArray range = "': WxH in digits, from 113x38 to 3840x2160";
    for (const char* size : { "112x38", "113x37", "3841x2160", "3840x2161", "+500x300", "500X300",
             "500x300x2", "0x0", "-1x40", "500 x 300", "99999999999x40" })
        QTest::addRow("size %s", size)
            << "render @Luna -o @out/x.png --size '" + QByteArray(size) + "'" << 2 << QByteArray()
            << usage + "bad size '" + size + range;
}

void tst_StyleCli::exitStatus()
{
    QFETCH(QByteArray, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QCOMPARE(sh("rm -f @out/x.png; [ -d @Near ] || { cp -r @Luna @Near && "
                ": > @Near/minimize_active_ovr.png; }")
                 .status,
        0);
    const Run r = run(arguments);
    QCOMPARE(r.status, status);
    QVERIFY2(r.out.startsWith(at(out)), r.out.constData());
    QVERIFY2(r.err.startsWith(err), r.err.constData());
    if (status == 2)
        QVERIFY2(r.err.contains("\nUsage: framewright-style "), r.err.constData());
    const bool draws = arguments.startsWith("render") || arguments.startsWith("sheet")
        || arguments.startsWith("states");
    QCOMPARE(QFileInfo::exists(m_root.filePath(QStringLiteral("out/x.png"))), draws && status != 2);
}

void tst_StyleCli::checkLinesAndJson()
{
    QCOMPARE(sh("cp -r @Luna @Broken && rm @Broken/captionbar_active.png").status, 0);
    const Run text = run("check @Broken/ @none");
    QCOMPARE(text.status, 1);
    QCOMPARE(text.out,
        at("@Broken/captionbar_active.png: error: Cannot open file "
           "\"@Broken/captionbar_active.png\". No such file or directory.\n"
           "@Broken/: 1 error, 0 warnings\n"
           // A directory that cannot be listed: its one line.
           "@none: error: No such file or directory\n"));

    const Run json = run("check --format json @Broken @none");
    QCOMPARE(json.status, 1);
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(root.keys(), QStringList { "directories" });
    const QJsonArray dirs = root.value(QLatin1String("directories")).toArray();
    QCOMPARE(dirs.size(), 2);
    const QStringList problem { "file", "message", "severity" };
    for (int i = 0; i < 2; ++i) {
        const QJsonObject dir = dirs.at(i).toObject();
        QCOMPARE(dir.keys(), QStringList({ "dir", "errors", "problems", "warnings" }));
        QCOMPARE(dir.value(QLatin1String("dir")).toString(),
            QFile::decodeName(at(i ? "@none" : "@Broken")));
        QCOMPARE(dir.value(QLatin1String("errors")).toInt(-1), 1);
        QCOMPARE(dir.value(QLatin1String("warnings")).toInt(-1), 0);
        const QJsonObject first = dir.value(QLatin1String("problems")).toArray().at(0).toObject();
        QCOMPARE(first.keys(), problem);
        QCOMPARE(first.value(QLatin1String("file")).toString(),
            i ? QString() : QStringLiteral("captionbar_active.png"));
        QCOMPARE(first.value(QLatin1String("severity")).toString(), QStringLiteral("error"));
    }
}

void tst_StyleCli::badInput_data()
{
    QTest::addColumn<QByteArray>("setup"); // makes @D
    QTest::addColumn<bool>("asNobody");
    QTest::addColumn<QByteArray>("checkLine"); // "$" stands for @D as printed
    QTest::addColumn<QByteArray>("renderLine");
    const QByteArray mask = "Cannot open file \"$/frame_mask_left.bmp\". ";
    const QByteArray noMask = "cp -r @Luna @D && rm @D/frame_mask_left.bmp && ";
    QTest::newRow("nonexistent dir")
        << QByteArray("true") << false << QByteArray("$: error: No such file or directory")
        << mask + "No such file or directory.";
    QTest::newRow("file as dir") << QByteArray(": > @D") << false
                                 << QByteArray("$: error: Not a directory")
                                 << mask + "Not a directory.";
    QTest::newRow("unreadable dir")
        << QByteArray("cp -r @Luna @D && chmod 0700 @D") << true
        << QByteArray("$: error: Permission denied") << mask + "Permission denied.";
    QTest::newRow("symlink loop") << QByteArray("ln -s @D @D") << false
                                  << QByteArray("$: error: Too many levels of symbolic links")
                                  << mask + "Too many levels of symbolic links.";
    QTest::newRow("fifo") << noMask + "mkfifo @D/frame_mask_left.bmp" << false
                          << QByteArray(
                                 "$/frame_mask_left.bmp: error: Image format not recognized.")
                          << QByteArray("Image format not recognized.");
    QTest::newRow("dir as file") << noMask + "mkdir @D/frame_mask_left.bmp" << false
                                 << "$/frame_mask_left.bmp: error: " + mask + "Is a directory."
                                 << mask + "Is a directory.";
    QTest::newRow("20000 x 20000")
        << QByteArray("cp -r @Luna @D && cp @huge.png @D/captionbar_left_inactive.png") << false
        << QByteArray("$/captionbar_left_inactive.png: error: Image format not recognized.")
        << QByteArray("Image format not recognized.");
    // The name's bytes survive the command line and come out escaped.
    QTest::newRow("not UTF-8") << noMask + "true" << false
                               << "$/frame_mask_left.bmp: error: " + mask
            + "No such file or directory."
                               << mask + "No such file or directory.";
}

void tst_StyleCli::badInput()
{
    QFETCH(QByteArray, setup);
    QFETCH(bool, asNobody);
    QFETCH(QByteArray, checkLine);
    QFETCH(QByteArray, renderLine);
    const bool latin = QByteArray(QTest::currentDataTag()) == "not UTF-8";
    const QByteArray dir
        = "@" + QByteArray(QTest::currentDataTag()).replace(' ', '_') + (latin ? "\\351" : "");
    QCOMPARE(
        sh("rm -rf @out/* && D=\"$(printf '" + dir + "')\" && " + setup.replace("@D", "\"$D\""))
            .status,
        0);
    if (asNobody)
        QVERIFY2(run("--version", true).status == 0, "cannot drop to user 65534 with setpriv");
    const QByteArray word = "\"$(printf '" + dir + "')\"";
    QByteArray shown = at(dir).replace("\\351", "\\xe9");
    const QByteArray before = sh("ls @").out;

    const Run checked = run("check " + word, asNobody);
    QCOMPARE(checked.status, 1);
    QVERIFY2(checked.out.startsWith(checkLine.replace('$', shown)), checked.out.constData());
    QCOMPARE(checked.err, QByteArray());
    const Run rendered = run("render " + word + " -o @out/x.png", asNobody);
    QCOMPARE(rendered.status, 1);
    renderLine.replace('$', shown);
    QCOMPARE(rendered.err, renderLine + '\n');
    // The states grid stops where the pass stops, with the same one line; the sheet tries every
    // file, the first being the one the pass stops at.
    const Run states = run("states " + word + " -o @out/s.png", asNobody);
    QCOMPARE(states.status, 1);
    QCOMPARE(states.err, renderLine + '\n');
    const Run sheet = run("sheet " + word + " -o @out/c.png", asNobody);
    QCOMPARE(sheet.status, 1);
    QVERIFY2(sheet.err.startsWith(renderLine + '\n'), sheet.err.constData());
    // The pictures are still written, and nothing else anywhere.
    QCOMPARE(sh("ls @out").out, QByteArray("c.png\ns.png\nx.png\n"));
    QCOMPARE(sh("ls @").out, before);
}

void tst_StyleCli::unwritableOutput_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("no such dir") << QByteArray("@absent/x.png") << QByteArray("No such file");
    QTest::newRow("dir of another user") << QByteArray("@x.png") << QByteArray("Permission denied");
    QTest::newRow("a dir") << QByteArray("@out") << QByteArray();
}

void tst_StyleCli::unwritableOutput()
{
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, reason);
    QVERIFY2(run("--version", true).status == 0, "cannot drop to user 65534 with setpriv");
    const QByteArray before = sh("ls -a @ @out").out;
    for (const char* command : { "render", "sheet", "states" }) {
        const Run r = run(command + QByteArray(" @Luna -o ") + target, true);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.startsWith(at("framewright-style: cannot write " + target + ": " + reason)),
            r.err.constData());
        // Not even the save file's temporary is left behind.
        QCOMPARE(sh("ls -a @ @out").out, before);
    }
}

void tst_StyleCli::references_data()
{
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<QByteArray>("look");
    QTest::addColumn<QByteArray>("out");
    for (const char* style : { "Luna", "Silver", "Licorice" })
        QTest::newRow(style) << QByteArray(style) << QByteArray("normal") << QByteArray();
    // The hovered button is the one place that differs from the normal look.
    QTest::newRow("Luna over") << QByteArray("Luna") << QByteArray("over")
                               << QByteArray(" pixels differ from ");
}

void tst_StyleCli::references()
{
    QFETCH(QByteArray, style);
    QFETCH(QByteArray, look);
    QFETCH(QByteArray, out);
    const QByteArray reference
        = QFile::encodeName(QFINDTESTDATA(QString::fromLatin1("references/" + style + ".png")));
    const QByteArray dir
        = QFile::encodeName(QFINDTESTDATA(QString::fromLatin1("../styles/" + style + "/Frame")));
    QVERIFY2(!reference.isEmpty() && !dir.isEmpty(), "the references or styles are missing");

    QCOMPARE(run("check --strict " + dir).status, 0);
    const Run r = run("render " + dir + " -o @out/r.png --minimize " + look + " --compare "
        + reference + " --diff @out/d.png");
    QVERIFY2(r.status == (out.isEmpty() ? 0 : 1), (r.out + r.err).constData());
    QVERIFY2(out.isEmpty() ? r.out.isEmpty()
                           : r.out.contains(out + reference + ", within 19x18 at (408, 285)"),
        r.out.constData());
    QVERIFY(QFileInfo::exists(m_root.filePath(QStringLiteral("out/d.png"))));
}

QTEST_MAIN(tst_StyleCli)
#include "tst_stylecli.moc"
