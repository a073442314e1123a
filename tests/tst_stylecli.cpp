// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapCases.h"
#include "ReadmeFonts.h"
#include "cli/WorkflowCommand.h"
#include "preview/PreviewPanel.h"

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
    void exportTheme_data();
    void exportTheme();
    void exportJson();
    void references_data();
    void references();
    void diff_data();
    void diff();
    void diffAtSize();
    void referenceConditions_data();
    void referenceConditions();
    void updateReference_data();
    void updateReference();
    void githubAnnotations_data();
    void githubAnnotations();
    void workflowEscaping_data();
    void workflowEscaping();
    void readmeWorkflow_data();
    void readmeWorkflow();

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
    QByteArray fileBytes(const QString& name) const
    {
        QFile file(m_root.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

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
    // The same configuration less Liberation: Helvetica falls back to DejaVu Sans, as on a
    // machine without the README's second font package.
    QFile readme(fonts);
    QVERIFY(readme.open(QIODevice::ReadOnly));
    QByteArray dejaVu = readme.readAll();
    const qsizetype liberation = dejaVu.indexOf("  <dir>/usr/share/fonts/truetype/liberation");
    QVERIFY(liberation > 0);
    dejaVu.remove(liberation, dejaVu.indexOf('\n', liberation) + 1 - liberation);
    QFile dejaVuOnly(m_root.filePath(QStringLiteral("dejavu.conf")));
    QVERIFY(dejaVuOnly.open(QIODevice::WriteOnly) && dejaVuOnly.write(dejaVu) == dejaVu.size());
    dejaVuOnly.close();
    // Another user must reach the test's files for the rows that drop to one.
    QCOMPARE(
        sh("mkdir @cache @out && chmod 0755 @ && chmod 0777 @out && chmod 0644 @*.* && cp -r "
            + QFile::encodeName(styles) + "/Luna/Frame @Luna && cp -r " + QFile::encodeName(styles)
            + "/Silver/Frame @Silver && cp -r @Luna @NoBar && rm @NoBar/captionbar_active.png")
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
    QTest::newRow("update alone") << QByteArray("render @Luna -o @out/x.png --update-reference")
                                  << 2 << QByteArray()
                                  << usage + "--update-reference needs --compare";
    QTest::newRow("diff, no -o") << QByteArray("diff @Luna @Luna") << 2 << QByteArray()
                                 << usage + "no output picture";
    QTest::newRow("diff, three dirs") << QByteArray("diff @Luna @Luna @Luna -o @out/x.png") << 2
                                      << QByteArray() << usage + "two style directories at a time";
    QTest::newRow("diff, unknown state")
        << QByteArray("diff @Luna @Luna -o @out/x.png --minimize hover") << 2 << QByteArray()
        << usage + "unknown minimize state";
    QTest::newRow("diff, bad size")
        << QByteArray("diff @Luna @Luna -o @out/x.png --size 112x38") << 2 << QByteArray()
        << usage + "bad size '112x38': WxH in digits, from 113x38";
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
    const QStringList problem { "file", "message", "rule", "severity" };
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
        QCOMPARE(first.value(QLatin1String("rule")).toString(),
            i ? QStringLiteral("unlistable-dir") : QStringLiteral("cannot-open"));
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
    // An export writes no theme at all.
    const Run exported = run("export xfwm4 " + word + " -o @out/T", asNobody);
    QCOMPARE(exported.status, 1);
    QCOMPARE(exported.err, renderLine + '\n');
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

void tst_StyleCli::exportTheme_data()
{
    QTest::addColumn<QByteArray>("arguments");
    QTest::addColumn<bool>("asNobody");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out"); // standard output, whole
    QTest::addColumn<QByteArray>("err"); // how standard error starts
    QTest::addColumn<QByteArray>("theme"); // what @out/T/xfwm4 then holds: new, old or none

    const QByteArray program = "framewright-style: ";
    const QByteArray fallback = "@Lacking/close_active_over.png: ";
    const QByteArray because = "is not in the style: the theme's close-prelight shows the normal "
                               "glyph close_active_normal.png\n";
    QTest::newRow("clean") << QByteArray("export xfwm4 @Luna -o @out/T") << false << 0
                           << QByteArray("@out/T: 41 files, 0 warnings\n") << QByteArray()
                           << QByteArray("new");
    QTest::newRow("warning, still written")
        << QByteArray("export xfwm4 @Lacking -o @out/T/") << false << 0
        << fallback + "warning: " + because + "@out/T/: 41 files, 1 warning\n"
        << QByteArray() << QByteArray("new");
    QTest::newRow("warning, github")
        << QByteArray("export xfwm4 --format github @Lacking -o @out/T") << false << 0
        << "::warning file=" + fallback.chopped(2) + ",title=glyph-fallback::" + because
            + "@out/T: 41 files, 1 warning\n"
        << QByteArray() << QByteArray("new");
    QTest::newRow("warning, strict: no theme")
        << QByteArray("export xfwm4 --strict @Lacking -o @out/T") << false << 1
        << fallback + "error: " + because << QByteArray() << QByteArray("none");
    QTest::newRow("existing theme refused")
        << QByteArray("export xfwm4 @Luna -o @out/Old") << false << 1 << QByteArray()
        << program + "@out/Old/xfwm4 exists and is not empty: --force replaces it\n"
        << QByteArray("old");
    QTest::newRow("existing theme, --force")
        << QByteArray("export xfwm4 @Luna -o @out/Old --force") << false << 0
        << QByteArray("@out/Old: 41 files, 0 warnings\n") << QByteArray() << QByteArray("new");
    QTest::newRow("name not UTF-8")
        << QByteArray("export xfwm4 @Luna -o \"$(printf '@out/T\\377')\"") << false << 1
        << QByteArray() << program + "@out/T\\xff: the theme's name is not valid UTF-8"
        << QByteArray("none");
    QTest::newRow("unwritable THEME")
        << QByteArray("export xfwm4 @Luna -o @T") << true << 1 << QByteArray()
        << program + "cannot write @T: Permission denied\n"
        << QByteArray("none");
    QTest::newRow("scale 4") << QByteArray("export xfwm4 @Luna -o @out/T --scale 4") << false << 2
                             << QByteArray()
                             << program + "bad scale '4': a whole number from 1 to 3"
                             << QByteArray("none");
    QTest::newRow("no format") << QByteArray("export @Luna -o @out/T") << false << 2 << QByteArray()
                               << program + "unknown theme format '" << QByteArray("none");
}

void tst_StyleCli::exportTheme()
{
    QFETCH(QByteArray, arguments);
    QFETCH(bool, asNobody);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(QByteArray, theme);
    QCOMPARE(
        sh("rm -rf @out/* && mkdir -p @out/Old/xfwm4 @out/Old/gtk-3.0 && : > @out/Old/xfwm4/mine"
           " && : > @out/Old/gtk-3.0/gtk.css && { [ -d @Lacking ] || { cp -r @Luna @Lacking &&"
           " rm @Lacking/close_active_over.png; }; }")
            .status,
        0);
    if (asNobody)
        QVERIFY2(run("--version", true).status == 0, "cannot drop to user 65534 with setpriv");
    const Run r = run(arguments, asNobody);
    QCOMPARE(r.status, status);
    QCOMPARE(r.out, at(out));
    QVERIFY2(r.err.startsWith(at(err)), r.err.constData());
    const QByteArray folder = arguments.contains("@out/Old") ? "@out/Old/xfwm4" : "@out/T/xfwm4";
    const QByteArray listed = sh("ls " + folder + " 2>/dev/null | wc -l; ls -A @out/Old").out;
    const QByteArray expected = theme == "new" ? "41\n" : theme == "old" ? "1\n" : "0\n";
    QCOMPARE(listed, expected + "gtk-3.0\nxfwm4\n");
}

void tst_StyleCli::exportJson()
{
    QCOMPARE(sh("rm -rf @out/* && { [ -d @Lacking ] || { cp -r @Luna @Lacking &&"
                " rm @Lacking/close_active_over.png; }; }")
                 .status,
        0);
    for (const bool strict : { false, true }) {
        const Run r = run(QByteArray("export xfwm4 --format json @Lacking -o @out/")
            + (strict ? "S --strict" : "T"));
        QCOMPARE(r.status, strict ? 1 : 0);
        QCOMPARE(QFileInfo::exists(m_root.filePath(QStringLiteral("out/S"))), false);
        const QJsonObject root = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(root.keys(), QStringList({ "errors", "problems", "theme", "warnings" }));
        QCOMPARE(root.value(QLatin1String("theme")).toString(),
            QFile::decodeName(at(strict ? "@out/S" : "@out/T")));
        QCOMPARE(root.value(QLatin1String("errors")).toInt(-1), strict ? 1 : 0);
        QCOMPARE(root.value(QLatin1String("warnings")).toInt(-1), strict ? 0 : 1);
        const QJsonObject problem
            = root.value(QLatin1String("problems")).toArray().at(0).toObject();
        QCOMPARE(problem.keys(), QStringList({ "file", "message", "rule", "severity" }));
        QCOMPARE(problem.value(QLatin1String("file")).toString(),
            QStringLiteral("close_active_over.png"));
        QCOMPARE(problem.value(QLatin1String("rule")).toString(), QStringLiteral("glyph-fallback"));
        QCOMPARE(problem.value(QLatin1String("severity")).toString(),
            strict ? QStringLiteral("error") : QStringLiteral("warning"));
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

void tst_StyleCli::diff_data()
{
    QTest::addColumn<QByteArray>("setup"); // makes @New
    QTest::addColumn<QByteArray>("dirs");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    const QByteArray copy = "cp -r @Luna @New && ";
    QTest::newRow("same") << copy + "true" << QByteArray("@Luna @New") << 0 << QByteArray()
                          << QByteArray();
    // In the table's order, where the corner comes first, not the alphabet's.
    QTest::newRow("changed") << copy
            + "cp @Silver/captionbar_inactive.png @Silver/captionbar_left_inactive.png @New"
                             << QByteArray("@Luna @New") << 1
                             << QByteArray("captionbar_left_inactive.png: differs\n"
                                           "captionbar_inactive.png: differs\n"
                                           "PIXELS")
                             << QByteArray();
    // A face nobody reads: the renders agree, the files do not.
    QTest::newRow("only in NEW") << copy + "rm @New/close_active_over.png"
                                 << QByteArray("@New @Luna") << 1
                                 << QByteArray("close_active_over.png: only in @Luna\n")
                                 << QByteArray();
    QTest::newRow("unreadable")
        << copy + "ln -sf close_active_over.png @New/close_active_over.png"
        << QByteArray("@Luna @New") << 1
        << QByteArray("close_active_over.png: Cannot open file \"@New/close_active_over.png\". "
                      "Too many levels of symbolic links.\n")
        << QByteArray();
    QTest::newRow("pass stops") << copy + "rm @New/captionbar_active.png"
                                << QByteArray("@Luna @New") << 1
                                << QByteArray("captionbar_active.png: only in @Luna\nPIXELS")
                                << QByteArray(
                                       "@New: Cannot open file \"@New/captionbar_active.png\". "
                                       "No such file or directory.\n");
    QTest::newRow("no such dir") << QByteArray("true") << QByteArray("@Luna @New") << 1
                                 << QByteArray("PIXELS")
                                 << QByteArray(
                                        "@New: Cannot open file \"@New/frame_mask_left.bmp\". "
                                        "No such file or directory.\n");
    QTest::newRow("one dir") << QByteArray("true") << QByteArray("@Luna") << 2 << QByteArray()
                             << QByteArray("framewright-style: two style directories needed");
}

void tst_StyleCli::diff()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, dirs);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QCOMPARE(sh("rm -rf @New @out/* && " + setup).status, 0);
    const Run r = run("diff " + dirs + " -o @out/d.png");
    QCOMPARE(r.status, status);
    if (out.endsWith("PIXELS")) {
        // The pixels are counted as --compare counts them, against OLD.
        out.chop(6);
        QVERIFY2(r.out.startsWith(at(out)), r.out.constData());
        const QByteArray rest = r.out.mid(at(out).size());
        QVERIFY2(rest.contains(at(" pixels differ from @Luna, within ")) && rest.endsWith(")\n")
                && rest.count('\n') == 1,
            r.out.constData());
    } else {
        QCOMPARE(r.out, at(out));
    }
    QVERIFY2(status == 2 ? r.err.startsWith(err) : r.err == at(err), r.err.constData());
    // OLD, NEW and the marked NEW side by side, written whatever the outcome but bad usage.
    // OLD renders as Luna in every row, so its panel is Luna's reference, under its label.
    const QImage picture(m_root.filePath(QStringLiteral("out/d.png")));
    QCOMPARE(picture.isNull(), status == 2);
    const QImage luna(QFINDTESTDATA("references/Luna.png"));
    const QSize panel = PreviewPanel::kSizeInWindow;
    if (status != 2)
        QCOMPARE(picture.copy(QRect({ 8, picture.height() - 8 - panel.height() }, panel)),
            luna.convertToFormat(picture.format()));
}

// Both renders of a diff take the size given: its three panels are as high as one panel of
// 200 x 100 windows, (2 x 100 + 125), plus their labels, far less than the form's 611.
void tst_StyleCli::diffAtSize()
{
    QCOMPARE(run("diff @Luna @Luna -o @out/d.png --size 200x100").status, 0);
    const QImage picture(m_root.filePath(QStringLiteral("out/d.png")));
    QVERIFY(!picture.isNull());
    QVERIFY2(picture.height() >= 325 && picture.height() < 325 + 100,
        qPrintable(QString::number(picture.height())));
    QVERIFY2(picture.width() >= 3 * 351, qPrintable(QString::number(picture.width())));
}

void tst_StyleCli::referenceConditions_data()
{
    QTest::addColumn<QByteArray>("makeReference"); // writes @out/ref.png, or names a reference
    QTest::addColumn<QByteArray>("conditions"); // what follows the pixel count
    const QByteArray render = FW_STYLE_PROGRAM " render @Luna -o @out/ref.png";
    QTest::newRow("another caption font")
        << "FONTCONFIG_FILE=@dejavu.conf " + render
        << QByteArray("; Caption font \"DejaVu Sans, Bold, 700\" in the reference, "
                      "\"Liberation Sans, Bold, 700\" here");
    QTest::newRow("another look") << render + " --minimize over"
                                  << QByteArray(
                                         "; Minimize \"over\" in the reference, \"normal\" here");
    // A change of the style itself: the conditions are the same, so none is named.
    QTest::newRow("another style")
        << QByteArray(FW_STYLE_PROGRAM " render @Silver -o @out/ref.png") << QByteArray();
    QTest::newRow("made before the conditions")
        << "cp " + QFile::encodeName(QFINDTESTDATA("references/Silver.png")) + " @out/ref.png"
        << QByteArray();
}

void tst_StyleCli::referenceConditions()
{
    QFETCH(QByteArray, makeReference);
    QFETCH(QByteArray, conditions);
    QCOMPARE(sh("rm -f @out/* && " + makeReference).status, 0);
    const Run r = run("render @Luna -o @out/r.png --compare @out/ref.png");
    QCOMPARE(r.status, 1);
    QVERIFY2(r.out.contains(at(" pixels differ from @out/ref.png, within "))
            && r.out.endsWith(')' + conditions + '\n'),
        r.out.constData());
    // The render carries its own conditions for the next comparison.
    const QImage picture(m_root.filePath(QStringLiteral("out/r.png")));
    QCOMPARE(
        picture.text(QStringLiteral("Caption font")), QStringLiteral("Liberation Sans, Bold, 700"));
    QCOMPARE(picture.text(QStringLiteral("Size")), QStringLiteral("548x611"));
    QVERIFY(picture.text(QStringLiteral("Software")).startsWith("framewright-style 1."));
}

void tst_StyleCli::updateReference_data()
{
    QTest::addColumn<QByteArray>("makeReference");
    QTest::addColumn<QByteArray>("dir");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<bool>("replaced"); // else untouched
    const QByteArray silver = FW_STYLE_PROGRAM " render @Silver -o @out/ref.png";
    const QByteArray luna = FW_STYLE_PROGRAM " render @Luna -o @out/ref.png";
    QTest::newRow("missing") << QByteArray("true") << QByteArray("@Luna") << 0
                             << QByteArray("@out/ref.png: reference written\n") << true;
    QTest::newRow("differs") << silver << QByteArray("@Luna") << 0
                             << QByteArray("@out/ref.png: reference updated\n") << true;
    // Equal pixels, though the old reference carries no conditions.
    QTest::newRow("equal") << "cp " + QFile::encodeName(QFINDTESTDATA("references/Luna.png"))
            + " @out/ref.png"
                           << QByteArray("@Luna") << 0 << QByteArray() << false;
    QTest::newRow("stopped pass, differs")
        << luna << QByteArray("@NoBar") << 1 << QByteArray() << false;
    QTest::newRow("stopped pass, missing")
        << QByteArray("true") << QByteArray("@NoBar") << 1 << QByteArray() << false;
}

void tst_StyleCli::updateReference()
{
    QFETCH(QByteArray, makeReference);
    QFETCH(QByteArray, dir);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(bool, replaced);
    QCOMPARE(sh("rm -f @out/* && " + makeReference).status, 0);
    const QByteArray before = fileBytes(QStringLiteral("out/ref.png"));
    const Run r = run("render " + dir + " -o @out/r.png --compare @out/ref.png --update-reference");
    QCOMPARE(r.status, status);
    QVERIFY2(r.out.endsWith(at(out)), r.out.constData());
    const QByteArray after = fileBytes(QStringLiteral("out/ref.png"));
    QCOMPARE(after, replaced ? fileBytes(QStringLiteral("out/r.png")) : before);
    QCOMPARE(sh("ls @out").out, QByteArray(after == "(none)" ? "r.png\n" : "r.png\nref.png\n"));
}

void tst_StyleCli::githubAnnotations_data()
{
    QTest::addColumn<bool>("strict");
    QTest::newRow("plain") << false;
    QTest::newRow("strict") << true;
}

// One problem of each rule the check has, in a directory whose name needs escaping in both the
// file property and the message.
void tst_StyleCli::githubAnnotations()
{
    QFETCH(bool, strict);
    const QString dir = m_root.filePath(QStringLiteral("Odd,1%:x/"));
    QCOMPARE(sh("rm -rf @Odd* && cp -r @Luna '@Odd,1%:x' && cd '@Odd,1%:x' && "
                "rm captionbar_active.png && : > minimize_active_disable.png && "
                ": > minimize_active_ovr.png")
                 .status,
        0);
    const auto save = [&](const char* name, QSize size, std::initializer_list<QRgb> colours) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(*colours.begin());
        int x = 0;
        for (const QRgb colour : colours)
            image.setPixel(x++, 0, colour);
        return image.save(dir + QLatin1String(name));
    };
    QVERIFY(save("frame_mask_right.bmp", { 12, 29 }, { 0xff000000, 0xffffffff, 0xff808080 }));
    QVERIFY(save("captionbar_right_inactive.png", { 10, 10 }, { 0xff102030 }));
    QVERIFY(save("captionbar_inactive.png", { 5, 20 }, { 0xff102030 }));
    QVERIFY(save("close_active_normal.png", { 13, 13 }, { 0xff102030 }));
    QVERIFY(save("minimize_active_over.png", { 14, 14 }, { 0xff102030, 0xff000000 }));

    const Run r = run(
        QByteArray("check --format github") + (strict ? " --strict" : "") + " '@Odd,1%:x' @none");
    QCOMPARE(r.status, 1);
    const QByteArray w = strict ? "::error" : "::warning";
    const QByteArray file = at(" file=@Odd%2C1%25%3Ax/");
    const QByteArray shown = at("@Odd,1%25:x/");
    // Compared whole, with both texts shown on failure.
    const QByteArray expected = w + file
        + "frame_mask_right.bmp,title=mask-colours::has more than two colours: the window "
          "paints them all where the caption corner lets the mask through\n"
        + w + file
        + "captionbar_right_inactive.png,title=cut-size::is 10 x 10, not 12 x 29: the mask "
          "shows around it\n"
        + w + file
        + "captionbar_inactive.png,title=stretched-size::is 20 pixels high, not 29: the window "
          "stretches it to 29 high\n"
        + "::error" + file
        + "minimize_active_disable.png,title=not-an-image::Image format not recognized.\n"
        + "::error" + file + "captionbar_active.png,title=cannot-open::Cannot open file \"" + shown
        + "captionbar_active.png\". No such file or directory.\n" + w + file
        + "close_active_normal.png,title=all-key-colour::every pixel has the colour of its "
          "bottom-left pixel, the colour key: the window draws nothing of it\n"
        + w + file
        + "minimize_active_over.png,title=shape-change::is 14 x 14, minimize_active_normal.png "
          "is 13 x 13: the glyph changes shape under the pointer\n"
        + w + file
        + "minimize_active_ovr.png,title=near-miss-name::not a style file, the window never "
          "reads it: did you mean minimize_active_over.png?\n"
        // The summary stays plain.
        + at("@Odd,1%:x: ")
        + (strict ? "8 errors, 0 warnings\n" : "2 errors, 6 warnings\n")
        // No file to hang it on: the directory goes into the message.
        + at("::error title=unlistable-dir::@none: No such file or directory\n");
    QVERIFY2(r.out == expected, (r.out + "--- expected:\n" + expected).constData());

    // The same rules as JSON keys.
    const Run json = run("check --format json '@Odd,1%:x' @none");
    QStringList rules;
    for (const QJsonValue dir :
        QJsonDocument::fromJson(json.out).object().value(QLatin1String("directories")).toArray())
        for (const QJsonValue problem : dir.toObject().value(QLatin1String("problems")).toArray())
            rules << problem.toObject().value(QLatin1String("rule")).toString();
    QCOMPARE(rules,
        QStringList({ "mask-colours", "cut-size", "stretched-size", "not-an-image", "cannot-open",
            "all-key-colour", "shape-change", "near-miss-name", "unlistable-dir" }));
}

void tst_StyleCli::workflowEscaping_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("property");
    // '%' first, or the escapes' own '%' would be escaped again.
    QTest::newRow("line breaks") << QByteArray("100%\r\nx") << QByteArray("100%25%0D%0Ax")
                                 << QByteArray("100%25%0D%0Ax");
    QTest::newRow("separators") << QByteArray("a:b,c") << QByteArray("a:b,c")
                                << QByteArray("a%3Ab%2Cc");
    QTest::newRow("an escape already")
        << QByteArray("%3A") << QByteArray("%253A") << QByteArray("%253A");
}

void tst_StyleCli::workflowEscaping()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, property);
    QCOMPARE(escapeWorkflowData(text), data);
    QCOMPARE(escapeWorkflowProperty(text), property);
}

namespace {

// The README's workflow as a script: its steps' run: commands in order, each step with "set -e"
// and run only while all went well unless it runs on any outcome, the install step left out.
// Empty, with why set, when the README has no such workflow.
QByteArray workflowScript(const QString& readmePath, QString* why)
{
    QFile readme(readmePath);
    if (!readme.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot read ") + readmePath;
        return {};
    }
    const QByteArray text = readme.readAll();
    const qsizetype section = text.indexOf("\n## Checking a style in CI\n");
    const qsizetype start = text.indexOf("```yaml\n", section);
    const qsizetype end = text.indexOf("\n```", start);
    if (section < 0 || start < 0 || end < 0) {
        *why = QStringLiteral("the README has no workflow under \"Checking a style in CI\"");
        return {};
    }
    struct Step
    {
        QByteArray name, condition, run;
    };
    QList<Step> steps;
    int blockIndent = -1; // the indentation of the run: key whose block is being read
    for (const QByteArray& line : text.mid(start + 8, end - start - 8).split('\n')) {
        const QByteArray trimmed = line.trimmed();
        int indent = 0;
        while (indent < line.size() && line.at(indent) == ' ')
            ++indent;
        if (blockIndent >= 0 && (trimmed.isEmpty() || indent > blockIndent)) {
            steps.last().run += line.mid(blockIndent + 2) + '\n';
            continue;
        }
        blockIndent = -1;
        QByteArray entry = trimmed;
        if (entry.startsWith("- ")) {
            steps.append(Step {});
            entry = entry.mid(2);
        }
        if (steps.isEmpty())
            continue;
        if (entry.startsWith("name: "))
            steps.last().name = entry.mid(6);
        else if (entry.startsWith("if: "))
            steps.last().condition = entry.mid(4);
        else if (entry == "run: |")
            blockIndent = int(line.indexOf("run:"));
        else if (entry.startsWith("run: "))
            steps.last().run = entry.mid(5) + '\n';
    }
    QByteArray script = "status=0\n";
    bool installed = false;
    for (const Step& step : steps) {
        if (step.name == "Install framewright") {
            installed = true;
            continue;
        }
        if (step.run.isEmpty())
            continue;
        if (!step.condition.isEmpty() && step.condition != "${{ !cancelled() }}") {
            *why = QStringLiteral("a run: step under a condition the test cannot follow: ")
                + QString::fromUtf8(step.condition);
            return {};
        }
        script += (step.condition.isEmpty() ? "[ $status = 0 ] && " : "")
            + QByteArray("{ (set -e\n") + step.run + ") || status=1; }\n";
    }
    if (!installed) {
        *why = QStringLiteral("the workflow has no step \"Install framewright\" to stand in for");
        return {};
    }
    return script + "exit $status\n";
}

} // namespace

void tst_StyleCli::readmeWorkflow_data()
{
    QTest::addColumn<QByteArray>("change"); // to the style in @repo/Frame
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out"); // what standard output holds
    QTest::newRow("clean") << QByteArray("true") << 0 << QByteArray("Frame/: 0 errors, 0 warnings");
    QTest::newRow("render changed")
        << QByteArray("cp @Silver/captionbar_active.png @repo/Frame/") << 1
        << QByteArray(" pixels differ from ci/render.png, within ");
    // The comparison runs after a failed check as well.
    QTest::newRow("file missing") << QByteArray("rm @repo/Frame/captionbar_active.png") << 1
                                  << QByteArray("::error file=Frame/captionbar_active.png,"
                                                "title=cannot-open::Cannot open file ");
}

// The workflow the README gives a style's repository, run as a script, with the program
// under test first in PATH in place of the package.
void tst_StyleCli::readmeWorkflow()
{
    QFETCH(QByteArray, change);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QString why;
    const QByteArray script = workflowScript(QFINDTESTDATA("../README.md"), &why);
    QVERIFY2(!script.isEmpty(), qPrintable(why));
    const QByteArray reference = QFile::encodeName(QFINDTESTDATA("references/Luna.png"));
    QCOMPARE(sh("rm -rf @repo && mkdir -p @repo/ci && cp -r @Luna @repo/Frame && cp " + reference
                 + " @repo/ci/render.png && " + change)
                 .status,
        0);
    QFile file(m_root.filePath(QStringLiteral("repo/workflow.sh")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(script) == script.size());
    file.close();
    const QByteArray program
        = QFile::encodeName(QFileInfo(QStringLiteral(FW_STYLE_PROGRAM)).path());
    const Run r = sh("cd @repo && PATH=" + program + ":$PATH sh workflow.sh");
    QVERIFY2(r.status == status, (script + r.out + r.err).constData());
    QVERIFY2(r.out.contains(out), r.out.constData());
    // What the failure step keeps.
    QCOMPARE(QFileInfo::exists(m_root.filePath(QStringLiteral("repo/render.png"))), true);
    QCOMPARE(QFileInfo::exists(m_root.filePath(QStringLiteral("repo/diff.png"))), true);
}

QTEST_MAIN(tst_StyleCli)
#include "tst_stylecli.moc"
