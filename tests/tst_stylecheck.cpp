// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"
#include "style/StyleCheck.h"
#include "style/StyleFiles.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QtTest>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Damage = std::function<void(StyleFixture&)>;
Q_DECLARE_METATYPE(Damage)

// A problem as the test expects it: the file, "error" or "warning", and the part of the message
// that says what the window does (the whole message for errors).
using Expected = QStringList;

class tst_StyleCheck : public QObject
{
    Q_OBJECT

private slots:
    void problems_data();
    void problems();
    void sampleStylesAreClean_data();
    void sampleStylesAreClean();
    void unlistableDirectory_data();
    void unlistableDirectory();
    void unreadableDirectory();
    void joinsWithOneSlash_data();
    void joinsWithOneSlash();
};

namespace {

QStringList describe(const StyleReport& report)
{
    QStringList lines;
    for (const StyleProblem& p : report.problems)
        lines << QString::fromLocal8Bit(p.file) + QLatin1Char(' ')
                + (p.severity == StyleProblem::Severity::Error ? QStringLiteral("error ")
                                                               : QStringLiteral("warning "))
                + p.message;
    return lines;
}

quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xffffffffu;
}

// A small valid PNG whose header claims 20000 x 20000: the reader must refuse it unallocated.
void writeHugePng(StyleFixture& s, const QString& file)
{
    s.write(file, { 4, 4 });
    QFile f(s.path(file));
    QVERIFY(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    qToBigEndian<quint32>(20000, bytes.data() + 16);
    qToBigEndian<quint32>(20000, bytes.data() + 20);
    qToBigEndian<quint32>(crc32(bytes.mid(12, 17)), bytes.data() + 29);
    f.seek(0);
    f.write(bytes);
}

QImage solid(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

Damage resize(const QString& file, QSize size)
{
    return [=](StyleFixture& s) { s.write(file, size); };
}

Damage replace(const QString& file, const QImage& image)
{
    return [=](StyleFixture& s) { s.writeImage(file, image); };
}

Damage addFile(const QByteArray& name)
{
    return [=](StyleFixture& s) {
        // Raw bytes: a name that is not UTF-8 must reach the directory as it is.
        const int fd = ::open((s.dirBytes() + name).constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    };
}

} // namespace

void tst_StyleCheck::problems_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<Expected>("expected");

    const auto missing = [](const char* file) {
        return QStringLiteral("Cannot open file \"%DIR%%1\". No such file or directory.")
            .arg(QLatin1String(file));
    };
    const QString bad = QStringLiteral("Image format not recognized.");
    const QImage threeColours = [] {
        QImage m = StyleFixture::maskImage(3);
        m = m.convertToFormat(QImage::Format_RGB32);
        m.setPixel(6, 20, qRgb(255, 0, 0));
        return m;
    }();

    QTest::newRow("complete style") << Damage([](StyleFixture&) {}) << Expected {};
    QTest::newRow("missing pass file")
        << Damage([](StyleFixture& s) { s.remove(QStringLiteral("captionbar_active.png")); })
        << Expected { "captionbar_active.png", "error", missing("captionbar_active.png") };
    QTest::newRow("missing hover file")
        << Damage([](StyleFixture& s) { s.remove(QStringLiteral("minimize_active_over.png")); })
        << Expected { "minimize_active_over.png", "error", missing("minimize_active_over.png") };
    QTest::newRow("not a picture") << Damage([](StyleFixture& s) {
        QFile f(s.path(QStringLiteral("frame_mask_right.bmp")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("BM not really");
    }) << Expected { "frame_mask_right.bmp", "error", bad };
    QTest::newRow("directory named like a file")
        << Damage([](StyleFixture& s) {
               s.remove(QStringLiteral("captionbutton_press.png"));
               QVERIFY(QDir().mkdir(s.path(QStringLiteral("captionbutton_press.png"))));
           })
        << Expected { "captionbutton_press.png", "error",
               QStringLiteral(
                   "Cannot open file \"%DIR%captionbutton_press.png\". Is a directory.") };
    QTest::newRow("fifo named like a file") << Damage([](StyleFixture& s) {
        s.remove(QStringLiteral("frameleft_active.png"));
        QCOMPARE(
            ::mkfifo(QFile::encodeName(s.path(QStringLiteral("frameleft_active.png"))), 0600), 0);
    }) << Expected { "frameleft_active.png", "error", bad };
    QTest::newRow("huge declared size") << Damage([](StyleFixture& s) {
        writeHugePng(s, QStringLiteral("captionbar_inactive.png"));
    }) << Expected { "captionbar_inactive.png", "error", bad };

    QTest::newRow("corner too big")
        << replace(QStringLiteral("captionbar_left_active.png"),
               StyleFixture::cornerImage({ 14, 29 }, qRgb(10, 90, 10), 3))
        << Expected { "captionbar_left_active.png", "warning",
               "is 14 x 29, not 12 x 29: the window cuts it to 12 x 29" };
    QTest::newRow("corner too small")
        << replace(QStringLiteral("captionbar_right_inactive.png"),
               StyleFixture::cornerImage({ 12, 20 }, qRgb(10, 90, 10), 3))
        << Expected { "captionbar_right_inactive.png", "warning", "the mask shows around it" };
    QTest::newRow("caption bar not 29 high") << resize(QStringLiteral("captionbar_active.png"),
        { 20, 30 }) << Expected { "captionbar_active.png", "warning", "stretches it to 29 high" };
    QTest::newRow("edge not 5 wide")
        << resize(QStringLiteral("frameleft_inactive.png"), { 7, 20 })
        << Expected { "frameleft_inactive.png", "warning", "stretches it across to 5 wide" };
    QTest::newRow("bottom edge not 8 high") << resize(QStringLiteral("framebottom_active.png"),
        { 10, 9 }) << Expected { "framebottom_active.png", "warning", "stretches it to 8 high" };
    QTest::newRow("bottom corner any size")
        << resize(QStringLiteral("framebottom_left_active.png"), { 9, 11 }) << Expected {};
    QTest::newRow("mask too tall")
        << replace(
               QStringLiteral("frame_mask_left.bmp"), StyleFixture::maskImage(3).copy(0, 0, 12, 30))
        << Expected { "frame_mask_left.bmp", "warning", "the window cuts it to 12 x 29" };
    QTest::newRow("mask of three colours") << replace(QStringLiteral("frame_mask_right.bmp"),
        threeColours) << Expected { "frame_mask_right.bmp", "warning", "more than two colours" };
    QTest::newRow("mask of one colour") << replace(QStringLiteral("frame_mask_right.bmp"),
        StyleFixture::maskImage(0)) << Expected { "frame_mask_right.bmp", "warning", "one colour" };
    QTest::newRow("face all key") << replace(
        QStringLiteral("captionbutton_normal.png"), solid({ 19, 18 }, qRgb(9, 9, 9)))
                                  << Expected { "captionbutton_normal.png", "warning",
                                         "draws nothing of it" };
    QTest::newRow("glyph all key, alpha ignored") << Damage([](StyleFixture& s) {
        QImage glyph(13, 13, QImage::Format_ARGB32);
        glyph.fill(qRgba(40, 40, 40, 255));
        glyph.setPixel(4, 4, qRgba(40, 40, 40, 0));
        s.writeImage(QStringLiteral("close_active_disable.png"), glyph);
    }) << Expected { "close_active_disable.png", "warning", "draws nothing of it" };
    QTest::newRow("left corner all key over the mask")
        << replace(QStringLiteral("captionbar_left_inactive.png"), solid({ 12, 29 }, qRgb(5, 6, 7)))
        << Expected { "captionbar_left_inactive.png", "warning", "shows nothing of the corner" };
    QTest::newRow("right corner is not keyed")
        << replace(QStringLiteral("captionbar_right_active.png"), solid({ 12, 29 }, qRgb(5, 6, 7)))
        << Expected {};
    QTest::newRow("over face of another size")
        << resize(QStringLiteral("captionbutton_over.png"), { 20, 18 })
        << Expected { "captionbutton_over.png", "warning",
               "is 20 x 18, captionbutton_normal.png is 19 x 18: the button changes shape" };
    QTest::newRow("press glyph of another size")
        << resize(QStringLiteral("minimize_active_press.png"), { 14, 13 })
        << Expected { "minimize_active_press.png", "warning", "the glyph changes shape" };
    QTest::newRow("disabled glyph of another size")
        << resize(QStringLiteral("minimize_active_disable.png"), { 15, 15 }) << Expected {};
    QTest::newRow("near miss") << addFile("minimize_active_ovr.png")
                               << Expected { "minimize_active_ovr.png", "warning",
                                      "did you mean minimize_active_over.png?" };
    QTest::newRow("three edits away") << addFile("minimize_active_o.png") << Expected {};
    QTest::newRow("letter case") << addFile("CaptionBar_Active.png")
                                 << Expected { "CaptionBar_Active.png", "warning",
                                        "did you mean captionbar_active.png?" };
    QTest::newRow("near miss, not UTF-8") << addFile("frameleft_activ\xff\xfe.png")
                                          << Expected { "frameleft_activ%FF%FE.png", "warning",
                                                 "did you mean frameleft_active.png?" };
    QTest::newRow("faces carried for completeness") << Damage([](StyleFixture& s) {
        s.write(QStringLiteral("close_active_over.png"), { 30, 30 });
        s.write(QStringLiteral("restore_active_press.png"), { 1, 1 });
    }) << Expected {};
    QTest::newRow("unrelated file") << addFile("README.txt") << Expected {};
    QTest::newRow("in table order, near misses last")
        << Damage([](StyleFixture& s) {
               addFile("captionbar_activ.png")(s);
               s.remove(QStringLiteral("minimize_active_press.png"));
               s.write(QStringLiteral("frameleft_active.png"), { 6, 20 });
               s.remove(QStringLiteral("frame_mask_left.bmp"));
           })
        << Expected { "frame_mask_left.bmp", "error", missing("frame_mask_left.bmp"),
               "frameleft_active.png", "warning", "stretches it across to 5 wide",
               "minimize_active_press.png", "error", missing("minimize_active_press.png"),
               "captionbar_activ.png", "warning", "did you mean captionbar_active.png?" };
}

void tst_StyleCheck::problems()
{
    QFETCH(Damage, damage);
    QFETCH(Expected, expected);
    StyleFixture style;
    style.writeAll();
    damage(style);

    // Given without its trailing slash: the messages still name each file with one slash.
    QByteArray dir = style.dirBytes();
    dir.chop(1);
    const StyleReport report = checkStyle(dir);
    QCOMPARE(report.dir, dir);
    QVERIFY2(
        report.problems.size() == expected.size() / 3, qPrintable(describe(report).join('\n')));
    for (int i = 0; i < report.problems.size(); ++i) {
        const StyleProblem& p = report.problems.at(i);
        // Percent-encoded, so a name's bytes that are not UTF-8 are compared as they are.
        QCOMPARE(QString::fromLatin1(p.file.toPercentEncoding()), expected.at(3 * i));
        const bool error = expected.at(3 * i + 1) == QLatin1String("error");
        QCOMPARE(
            p.severity, error ? StyleProblem::Severity::Error : StyleProblem::Severity::Warning);
        const QString text
            = QString(expected.at(3 * i + 2)).replace(QLatin1String("%DIR%"), style.dir());
        if (error)
            QCOMPARE(p.message, text);
        else
            QVERIFY2(p.message.contains(text), qPrintable(p.message));
    }
    QCOMPARE(report.errors() + report.warnings(), int(report.problems.size()));
}

void tst_StyleCheck::sampleStylesAreClean_data()
{
    QTest::addColumn<QString>("style");
    QTest::newRow("Luna") << QStringLiteral("Luna");
    QTest::newRow("Silver") << QStringLiteral("Silver");
    QTest::newRow("Licorice") << QStringLiteral("Licorice");
}

void tst_StyleCheck::sampleStylesAreClean()
{
    QFETCH(QString, style);
    const QString dir = QFINDTESTDATA(QStringLiteral("../styles/%1/Frame").arg(style));
    QVERIFY2(!dir.isEmpty(), "the sample styles are not beside the tests");
    const StyleReport report = checkStyle(QFile::encodeName(dir));
    QVERIFY2(report.problems.isEmpty(), qPrintable(describe(report).join('\n')));
}

void tst_StyleCheck::unlistableDirectory_data()
{
    QTest::addColumn<QString>("make");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QString() << QStringLiteral("No such file or directory");
    QTest::newRow("a file") << QStringLiteral("file") << QStringLiteral("Not a directory");
    QTest::newRow("symlink loop") << QStringLiteral("loop")
                                  << QStringLiteral("Too many levels of symbolic links");
}

void tst_StyleCheck::unlistableDirectory()
{
    QFETCH(QString, make);
    QFETCH(QString, message);
    QTemporaryDir root;
    const QString dir = root.filePath(QStringLiteral("Frame"));
    if (make == QLatin1String("file"))
        StyleFixture::maskImage(1).save(dir, "BMP");
    if (make == QLatin1String("loop"))
        QVERIFY(QFile::link(dir, dir));
    const StyleReport report = checkStyle(QFile::encodeName(dir) + '/');
    QCOMPARE(report.problems.size(), 1);
    QCOMPARE(report.problems.at(0).file, QByteArray());
    QCOMPARE(report.problems.at(0).severity, StyleProblem::Severity::Error);
    QCOMPARE(report.problems.at(0).message, message);
}

// Root reads any directory, so the check runs in a child that drops to an unprivileged user.
void tst_StyleCheck::unreadableDirectory()
{
    StyleFixture style;
    style.writeAll();
    QVERIFY(QFile::setPermissions(style.dir(), QFileDevice::WriteOwner));
    int channel[2];
    QVERIFY(::pipe(channel) == 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::close(channel[0]);
        const bool dropped = ::geteuid() != 0
            || (::setgroups(0, nullptr) == 0 && ::setresgid(65534, 65534, 65534) == 0
                && ::setresuid(65534, 65534, 65534) == 0);
        QByteArray answer = "cannot drop to uid 65534";
        if (dropped) {
            const StyleReport report = checkStyle(style.dirBytes());
            answer = describe(report).join('\n').toUtf8();
        }
        (void)!::write(channel[1], answer.constData(), size_t(answer.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray answer;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    QFile::setPermissions(
        style.dir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(QString::fromUtf8(answer), QStringLiteral(" error Permission denied"));
}

void tst_StyleCheck::joinsWithOneSlash_data()
{
    QTest::addColumn<QByteArray>("dir");
    QTest::addColumn<QByteArray>("path");
    QTest::newRow("bare") << QByteArray("a/Frame") << QByteArray("a/Frame/x.png");
    QTest::newRow("slash") << QByteArray("a/Frame/") << QByteArray("a/Frame/x.png");
    QTest::newRow("slashes") << QByteArray("a/Frame//") << QByteArray("a/Frame/x.png");
    QTest::newRow("root") << QByteArray("/") << QByteArray("/x.png");
}

void tst_StyleCheck::joinsWithOneSlash()
{
    QFETCH(QByteArray, dir);
    QFETCH(QByteArray, path);
    QCOMPARE(joinStylePath(dir, "x.png"), path);
}

QTEST_GUILESS_MAIN(tst_StyleCheck)
#include "tst_stylecheck.moc"
