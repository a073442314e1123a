// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"
#include "xfwm4/ThemeExport.h"
#include "xfwm4/ThemeWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr QRgb kOpaqueWhite = 0xffffffff;
constexpr QRgb kTransparent = 0;

// The glyphs only xfwm4's prelight and pressed looks show, each a colour of its own.
const char* const kPointerGlyphs[]
    = { "close_active_over.png", "close_active_press.png", "maximize_active_over.png",
          "maximize_active_press.png", "restore_active_over.png", "restore_active_press.png" };

QRgb pointerGlyphColour(int i)
{
    return qRgb(30 + 20 * i, 200 - 20 * i, 90);
}

QRgb colourOf(const char* file)
{
    for (int i = 0; i < 6; ++i)
        if (qstrcmp(file, kPointerGlyphs[i]) == 0)
            return pointerGlyphColour(i);
    return StyleFixture::colourOf(QString::fromLatin1(file));
}

QImage solid(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Every file the window may show, the right corners and mask cut away at the top right as a
// real style's are, and the pieces the window stretches all one colour, as xfwm4 can repeat them.
void writeStyle(StyleFixture& style)
{
    style.writeAll();
    for (const char* stretched :
        { "captionbar_active.png", "captionbar_inactive.png", "frameleft_active.png",
            "frameleft_inactive.png", "framebottom_active.png", "framebottom_inactive.png" }) {
        const QString name = QString::fromLatin1(stretched);
        style.writeImage(name, solid(StyleFixture::defaultSize(name), colourOf(stretched)));
    }
    for (int i = 0; i < 6; ++i)
        style.write(QString::fromLatin1(kPointerGlyphs[i]), { 13, 13 }, pointerGlyphColour(i));
    style.writeImage(
        QStringLiteral("frame_mask_right.bmp"), StyleFixture::maskImage(3).mirrored(true, false));
    for (const char* corner : { "captionbar_right_active.png", "captionbar_right_inactive.png" })
        style.writeImage(QString::fromLatin1(corner),
            StyleFixture::cornerImage({ 12, 29 }, colourOf(corner), 3).mirrored(true, false));
}

QImage pictureOf(const ThemeExport& theme, const QByteArray& name)
{
    for (const ThemeExport::Picture& picture : theme.pictures)
        if (picture.name == name)
            return picture.image;
    return {};
}

QByteArray rcValue(const ThemeExport& theme, const QByteArray& key)
{
    for (const QByteArray& line : theme.themerc.split('\n'))
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    return {};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QList<ThemeExport::File> someFiles(const QByteArray& tag, int count)
{
    QList<ThemeExport::File> files;
    for (int i = 0; i < count; ++i)
        files.append({ "piece-" + QByteArray::number(i) + ".png", tag + QByteArray::number(i) });
    return files;
}

// The folder holds exactly these files with exactly these contents.
bool holdsExactly(const QString& folder, const QList<ThemeExport::File>& files)
{
    if (QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size() != files.size())
        return false;
    for (const ThemeExport::File& file : files)
        if (readAll(folder + '/' + QString::fromLatin1(file.name)) != file.bytes)
            return false;
    return true;
}

} // namespace

class tst_Xfwm4Export : public QObject
{
    Q_OBJECT

private slots:
    void buttonPictures_data();
    void buttonPictures();
    void cornerPixels_data();
    void cornerPixels();
    void warnings_data();
    void warnings();
    void sampleStyleIsWholeAndClean();
    void scale_data();
    void scale();
    void stoppedPassWritesNothing();
    void existingThemeRefused();
    void forceKeepsTheRestOfTheTheme();
    void killedWriteLosesNothing_data();
    void killedWriteLosesNothing();
};

void tst_Xfwm4Export::buttonPictures_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("glyph");
    QTest::addColumn<QPoint>("glyphAt");

    const QString normal = QStringLiteral("captionbutton_normal.png");
    QTest::newRow("hide-active") << QByteArray("hide-active.png") << normal
                                 << "minimize_active_normal.png" << QPoint(4, 2);
    QTest::newRow("hide-inactive: disable glyph on the normal face")
        << QByteArray("hide-inactive.png") << normal << "minimize_active_disable.png"
        << QPoint(4, 2);
    QTest::newRow("hide-prelight") << QByteArray("hide-prelight.png") << "captionbutton_over.png"
                                   << "minimize_active_over.png" << QPoint(4, 2);
    QTest::newRow("hide-pressed") << QByteArray("hide-pressed.png") << "captionbutton_press.png"
                                  << "minimize_active_press.png" << QPoint(4, 2);
    QTest::newRow("close-active") << QByteArray("close-active.png") << normal
                                  << "close_active_normal.png" << QPoint(3, 2);
    QTest::newRow("close-prelight") << QByteArray("close-prelight.png") << "captionbutton_over.png"
                                    << "close_active_over.png" << QPoint(3, 2);
    QTest::newRow("maximize-inactive") << QByteArray("maximize-inactive.png") << normal
                                       << "maximize_active_disable.png" << QPoint(3, 2);
    QTest::newRow("maximize-toggled-active: the restore glyph")
        << QByteArray("maximize-toggled-active.png") << normal << "restore_active_normal.png"
        << QPoint(3, 3);
    QTest::newRow("maximize-toggled-pressed")
        << QByteArray("maximize-toggled-pressed.png") << "captionbutton_press.png"
        << "restore_active_press.png" << QPoint(3, 3);
}

void tst_Xfwm4Export::buttonPictures()
{
    QFETCH(QByteArray, picture);
    QFETCH(QString, face);
    QFETCH(QString, glyph);
    QFETCH(QPoint, glyphAt);

    StyleFixture style;
    writeStyle(style);
    const ThemeExport theme = ThemeExport::fromStyle(style.dirBytes());
    QVERIFY2(!theme.failed(), qPrintable(theme.failure));
    const QImage image = pictureOf(theme, picture);
    QCOMPARE(image.size(), QSize(19, 19));

    // The face's colour key leaves its bottom-left pixel out, and the glyph's its own.
    QCOMPARE(image.pixel(1, 1), colourOf(qPrintable(face)));
    QCOMPARE(image.pixel(0, 17), kTransparent);
    QCOMPARE(image.pixel(glyphAt + QPoint(6, 6)), colourOf(qPrintable(glyph)));
    QCOMPARE(image.pixel(glyphAt + QPoint(0, 12)), colourOf(qPrintable(face)));
    QCOMPARE(image.pixel(glyphAt - QPoint(1, 1)), colourOf(qPrintable(face)));
    // xfwm4 puts it at (29 - 19 + 1) / 2 = 5, the form's Top: the padding row is below.
    for (int x = 0; x < 19; ++x)
        QCOMPARE(image.pixel(x, 18), kTransparent);
}

void tst_Xfwm4Export::cornerPixels_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRgb>("expected");

    const QRgb grey = qRgb(206, 206, 206); // the unfocused window's body
    QTest::newRow("left: cut-away corner transparent")
        << QByteArray("top-left-active.png") << QPoint(0, 0) << kTransparent;
    QTest::newRow("left: cut-away edge transparent")
        << QByteArray("top-left-inactive.png") << QPoint(2, 2) << kTransparent;
    QTest::newRow("left: colour key shows the body, baked")
        << QByteArray("top-left-inactive.png") << QPoint(0, 28) << grey;
    QTest::newRow("left: the corner itself")
        << QByteArray("top-left-active.png") << QPoint(6, 6)
        << StyleFixture::colourOf(QStringLiteral("captionbar_left_active.png"));
    QTest::newRow("left: beside the cut-away")
        << QByteArray("top-left-active.png") << QPoint(3, 0)
        << StyleFixture::colourOf(QStringLiteral("captionbar_left_active.png"));
    QTest::newRow("right: cut-away corner transparent")
        << QByteArray("top-right-active.png") << QPoint(11, 0) << kTransparent;
    QTest::newRow("right: no colour key, its own white stays")
        << QByteArray("top-right-inactive.png") << QPoint(11, 28) << kOpaqueWhite;
    QTest::newRow("right: the corner itself")
        << QByteArray("top-right-inactive.png") << QPoint(5, 10)
        << StyleFixture::colourOf(QStringLiteral("captionbar_right_inactive.png"));
}

void tst_Xfwm4Export::cornerPixels()
{
    QFETCH(QByteArray, picture);
    QFETCH(QPoint, at);
    QFETCH(QRgb, expected);

    StyleFixture style;
    writeStyle(style);
    const ThemeExport theme = ThemeExport::fromStyle(style.dirBytes());
    QVERIFY2(!theme.failed(), qPrintable(theme.failure));
    const QImage image = pictureOf(theme, picture);
    QCOMPARE(image.size(), QSize(12, 29));
    QCOMPARE(image.pixel(at), expected);
}

void tst_Xfwm4Export::warnings_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QImage>("content"); // null: the file removed
    QTest::addColumn<QByteArray>("rule");

    QImage half = StyleFixture::cornerImage({ 12, 29 }, qRgb(10, 120, 30), 3);
    half.setPixel(1, 1, qRgba(10, 120, 30, 128));
    QTest::newRow("partial-alpha: a half covered cut-away pixel")
        << "captionbar_left_inactive.png" << half << QByteArray("partial-alpha");

    QImage across(20, 29, QImage::Format_RGB32);
    across.fill(qRgb(40, 40, 200));
    for (int y = 0; y < 29; ++y)
        across.setPixel(19, y, qRgb(200, 40, 40));
    QTest::newRow("tiled-varies: caption middle across")
        << "captionbar_active.png" << across << QByteArray("tiled-varies");
    QImage down(5, 20, QImage::Format_RGB32);
    down.fill(qRgb(40, 40, 200));
    for (int x = 0; x < 5; ++x)
        down.setPixel(x, 0, qRgb(200, 40, 40));
    QTest::newRow("tiled-varies: side edge down")
        << "frameleft_inactive.png" << down << QByteArray("tiled-varies");
    QImage bottom(10, 8, QImage::Format_RGB32);
    bottom.fill(qRgb(40, 40, 200));
    bottom.setPixel(9, 3, qRgb(200, 40, 40));
    QTest::newRow("tiled-varies: bottom edge across")
        << "framebottom_active.png" << bottom << QByteArray("tiled-varies");
    QTest::newRow("glyph-fallback: no press glyph")
        << "maximize_active_press.png" << QImage() << QByteArray("glyph-fallback");
    QTest::newRow("no warning: a caption middle that varies down only")
        << "captionbar_inactive.png" << down.scaled(20, 29) << QByteArray();
}

void tst_Xfwm4Export::warnings()
{
    QFETCH(QString, file);
    QFETCH(QImage, content);
    QFETCH(QByteArray, rule);

    StyleFixture style;
    writeStyle(style);
    if (content.isNull())
        style.remove(file);
    else
        style.writeImage(file, content);
    const ThemeExport theme = ThemeExport::fromStyle(style.dirBytes());
    QVERIFY2(!theme.failed(), qPrintable(theme.failure));
    QList<QByteArray> found;
    for (const StyleProblem& problem : theme.problems)
        found.append(problem.file + ' ' + problem.rule);
    const QList<QByteArray> expected
        = rule.isEmpty() ? QList<QByteArray>() : QList { file.toLatin1() + ' ' + rule };
    QCOMPARE(found, expected);
    for (const StyleProblem& problem : theme.problems)
        QCOMPARE(problem.severity, StyleProblem::Severity::Warning);
    // The export is written all the same; a fallen-back glyph shows the normal one.
    if (rule == "glyph-fallback")
        QCOMPARE(pictureOf(theme, "maximize-pressed.png").pixel(9, 8),
            colourOf("maximize_active_normal.png"));
}

void tst_Xfwm4Export::sampleStyleIsWholeAndClean()
{
    const QString luna = QFINDTESTDATA("../styles/Luna/Frame/frame_mask_left.bmp");
    QVERIFY2(!luna.isEmpty(), "the Luna sample style is not beside the tests");
    const ThemeExport theme = ThemeExport::fromStyle(QFile::encodeName(QFileInfo(luna).path()));
    QVERIFY2(!theme.failed(), qPrintable(theme.failure));
    QCOMPARE(theme.problems.size(), 0);
    QCOMPARE(theme.pictures.size(), 40);
    // xfwm4 keeps a pixel whole or leaves it out: nothing in between may reach it.
    for (const ThemeExport::Picture& picture : theme.pictures)
        for (int y = 0; y < picture.image.height(); ++y)
            for (int x = 0; x < picture.image.width(); ++x) {
                const int alpha = qAlpha(picture.image.pixel(x, y));
                QVERIFY2(alpha == 0 || alpha == 255, picture.name.constData());
            }
    QCOMPARE(pictureOf(theme, "title-3-active.png").size(), QSize(397 - 24, 29));
    QCOMPARE(pictureOf(theme, "left-active.png").size(), QSize(5, 237 - 29 - 8));
    QCOMPARE(pictureOf(theme, "right-inactive.png").size(), QSize(5, 249 - 29 - 8));
    QCOMPARE(pictureOf(theme, "bottom-inactive.png").size(), QSize(393 - 10, 8));
    QCOMPARE(rcValue(theme, "button_layout"), QByteArray("|HMC"));
    QCOMPARE(rcValue(theme, "active_text_color"), QByteArray("#ffffff"));
    QCOMPARE(rcValue(theme, "inactive_text_color"), QByteArray("#c8c8c8"));
    QCOMPARE(rcValue(theme, "title_shadow_active"), QByteArray("false"));
    QCOMPARE(rcValue(theme, "title_alignment"), QByteArray("left"));
}

void tst_Xfwm4Export::scale_data()
{
    QTest::addColumn<int>("scale");
    QTest::newRow("2") << 2;
    QTest::newRow("3") << 3;
}

void tst_Xfwm4Export::scale()
{
    QFETCH(int, scale);
    StyleFixture style;
    writeStyle(style);
    const ThemeExport one = ThemeExport::fromStyle(style.dirBytes(), 1);
    const ThemeExport many = ThemeExport::fromStyle(style.dirBytes(), scale);
    QVERIFY2(!many.failed(), qPrintable(many.failure));
    QCOMPARE(many.pictures.size(), one.pictures.size());
    for (int i = 0; i < one.pictures.size(); ++i) {
        const QImage& small = one.pictures[i].image;
        const QImage& large = many.pictures[i].image;
        QCOMPARE(many.pictures[i].name, one.pictures[i].name);
        // A button keeps its face at N times the form's Top, whatever rows centre it.
        const int rows = small.height() * scale;
        QVERIFY(large.height() >= rows);
        QCOMPARE(large.copy(0, 0, large.width(), rows),
            small.scaled(small.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    for (const char* key : { "button_offset", "button_spacing", "maximized_offset",
             "title_horizontal_offset", "title_vertical_offset_active" })
        QCOMPARE(rcValue(many, key).toInt(), rcValue(one, key).toInt() * scale);
    const QImage close = pictureOf(many, "close-active.png");
    QCOMPARE((29 * scale - close.height() + 1) / 2, 5 * scale);
}

void tst_Xfwm4Export::stoppedPassWritesNothing()
{
    StyleFixture style;
    writeStyle(style);
    style.remove(QStringLiteral("framebottom_active.png"));
    const ThemeExport theme = ThemeExport::fromStyle(style.dirBytes());
    QVERIFY(theme.failed());
    QVERIFY2(
        theme.failure.startsWith(
            QStringLiteral("Cannot open file \"%1\".").arg(style.path("framebottom_active.png"))),
        qPrintable(theme.failure));
    QVERIFY(theme.pictures.isEmpty());
    QVERIFY(theme.themerc.isEmpty());
}

void tst_Xfwm4Export::existingThemeRefused()
{
    QTemporaryDir root;
    const QByteArray theme = QFile::encodeName(root.path()) + "/Mine";
    QVERIFY(!ThemeWriter::occupied(theme));
    QVERIFY(QDir().mkpath(QFile::decodeName(theme + "/xfwm4")));
    QVERIFY2(!ThemeWriter::occupied(theme), "an empty xfwm4/ holds nothing to lose");
    QVERIFY(ThemeWriter::write(theme, someFiles("old", 3), false).outcome
        == ThemeWriter::Outcome::Written);
    QVERIFY(ThemeWriter::occupied(theme));

    const ThemeWriter::Result result = ThemeWriter::write(theme, someFiles("new", 3), false);
    QVERIFY(result.outcome == ThemeWriter::Outcome::Refused);
    QCOMPARE(result.message, theme + "/xfwm4 exists and is not empty");
    QVERIFY(holdsExactly(QFile::decodeName(theme + "/xfwm4"), someFiles("old", 3)));
    QVERIFY(!QFileInfo::exists(QFile::decodeName(theme + '/' + ThemeWriter::kHiddenFolder)));

    QVERIFY(ThemeWriter::validName(theme));
    QVERIFY(!ThemeWriter::validName(QFile::encodeName(root.path()) + "/Mine\xff/"));
    QCOMPARE(ThemeWriter::themeName(theme + "//"), QByteArray("Mine"));
}

void tst_Xfwm4Export::forceKeepsTheRestOfTheTheme()
{
    QTemporaryDir root;
    const QString theme = root.path() + QStringLiteral("/Mine");
    QVERIFY(QDir().mkpath(theme + QStringLiteral("/gtk-3.0")));
    QFile css(theme + QStringLiteral("/gtk-3.0/gtk.css"));
    QVERIFY(css.open(QIODevice::WriteOnly) && css.write("window {}") > 0);
    css.close();
    const QByteArray themeBytes = QFile::encodeName(theme);
    QVERIFY(ThemeWriter::write(themeBytes, someFiles("old", 4), false).outcome
        == ThemeWriter::Outcome::Written);

    const ThemeWriter::Result result = ThemeWriter::write(themeBytes, someFiles("new", 2), true);
    QVERIFY2(result.outcome == ThemeWriter::Outcome::Written, result.message.constData());
    QVERIFY(holdsExactly(theme + QStringLiteral("/xfwm4"), someFiles("new", 2)));
    QCOMPARE(readAll(theme + QStringLiteral("/gtk-3.0/gtk.css")), QByteArray("window {}"));
    QCOMPARE(QDir(theme).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
        QStringList({ QStringLiteral("gtk-3.0"), QStringLiteral("xfwm4") }));
}

void tst_Xfwm4Export::killedWriteLosesNothing_data()
{
    QTest::addColumn<bool>("old");
    QTest::newRow("replacing an old theme") << true;
    QTest::newRow("into a new THEME") << false;
}

void tst_Xfwm4Export::killedWriteLosesNothing()
{
    QFETCH(bool, old);
    const QList<ThemeExport::File> before = someFiles("old", 5);
    const QList<ThemeExport::File> after = someFiles("new", 7);
    QTemporaryDir root;
    const QString theme = root.path() + QStringLiteral("/Mine");
    const QString target = theme + QStringLiteral("/xfwm4");
    const QByteArray themeBytes = QFile::encodeName(theme);

    // The child is killed just before each thing it would do on disk in turn, until one run
    // goes through to the end.
    bool finished = false;
    for (int stop = 0; !finished; ++stop) {
        QVERIFY(QDir(theme).removeRecursively());
        if (old)
            QVERIFY(ThemeWriter::write(themeBytes, before, false).outcome
                == ThemeWriter::Outcome::Written);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ThemeWriter::write(themeBytes, after, true, [stop](int step) {
                if (step == stop)
                    ::kill(::getpid(), SIGKILL);
            });
            _exit(0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        finished = WIFEXITED(status);

        const bool absent = !QFileInfo::exists(target);
        const bool wasOld = !absent && holdsExactly(target, before);
        const bool isNew = !absent && holdsExactly(target, after);
        QVERIFY2(isNew || (old ? wasOld : absent),
            qPrintable(QStringLiteral("killed before step %1").arg(stop)));
        QVERIFY2(!finished || isNew, "a run to the end writes the new theme");
        QVERIFY(stop < 100);
    }

    // The next run takes away what a killed one left.
    QVERIFY(ThemeWriter::write(themeBytes, after, true).outcome == ThemeWriter::Outcome::Written);
    QVERIFY(holdsExactly(target, after));
    QVERIFY(!QFileInfo::exists(theme + '/' + QLatin1String(ThemeWriter::kHiddenFolder)));
}

QTEST_MAIN(tst_Xfwm4Export)
#include "tst_xfwm4export.moc"
