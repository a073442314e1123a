// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewPanel.h"
#include "review/PanelRender.h"
#include "style/BitmapReader.h"
#include "style/ColourKey.h"
#include "style/StyleCheck.h"
#include "style/StyleFiles.h"
#include "xfwm4/ButtonSplit.h"
#include "xfwm4/ThemeExport.h"
#include "xfwm4/ThemeImport.h"
#include "xfwm4/ThemeReader.h"
#include "xfwm4/XpmReader.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Pictures = QHash<QByteArray, QImage>;
using Change = std::function<void(const QByteArray& folder)>;

QImage solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// An XPM of the picture, one character per colour, transparent pixels as "None".
QByteArray xpmOf(const QImage& picture)
{
    const QByteArray chars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QList<QRgb> palette;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = qAlpha(picture.pixel(x, y)) == 255 ? picture.pixel(x, y) : 0;
            if (!palette.contains(p))
                palette.append(p);
        }
    Q_ASSERT(palette.size() <= chars.size());
    QByteArray out = "/* XPM */\nstatic char *piece[] = {\n\"" + QByteArray::number(picture.width())
        + ' ' + QByteArray::number(picture.height()) + ' ' + QByteArray::number(palette.size())
        + " 1\",\n";
    for (int i = 0; i < palette.size(); ++i)
        out += '"' + chars.mid(i, 1) + " c "
            + (palette[i] == 0 ? QByteArray("None")
                               : QColor(palette[i]).name(QColor::HexRgb).toLatin1())
            + "\",\n";
    for (int y = 0; y < picture.height(); ++y) {
        out += '"';
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = qAlpha(picture.pixel(x, y)) == 255 ? picture.pixel(x, y) : 0;
            out += chars[palette.indexOf(p)];
        }
        out += "\",\n";
    }
    return out + "};\n";
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

// A small theme with every piece at the style's own sizes, each a colour of its own, so that
// where a style file's pixels come from shows; the buttons a grey face with a mark of their own.
struct Theme
{
    Pictures pieces;

    Theme()
    {
        int n = 0;
        auto colour = [&n]() {
            const int i = n++;
            return qRgb(40 + 7 * (i % 20), 60 + 11 * (i / 20), 100 + i);
        };
        for (const char* w : { "active", "inactive" }) {
            const QByteArray s = w;
            pieces["top-left-" + s] = solid(12, 29, colour());
            pieces["top-right-" + s] = solid(12, 29, colour());
            pieces["title-3-" + s] = solid(6, 29, colour());
            pieces["left-" + s] = solid(5, 20, colour());
            pieces["bottom-" + s] = solid(10, 8, colour());
            pieces["bottom-left-" + s] = solid(5, 8, colour());
            pieces["bottom-right-" + s] = solid(5, 8, colour());
        }
        const char* const buttons[] = { "hide", "maximize", "close", "maximize-toggled" };
        for (int b = 0; b < 4; ++b)
            for (const char* state : { "active", "inactive", "prelight", "pressed" }) {
                const QByteArray s = state;
                const QImage caption
                    = pieces[s == "inactive" ? "title-3-inactive" : "title-3-active"];
                QImage button = solid(18, 29, caption.pixel(0, 0));
                for (int y = 6; y < 22; ++y)
                    for (int x = 1; x < 17; ++x)
                        button.setPixel(x, y, qRgb(150, 150, 150 + (s == "prelight") * 20));
                // Each button's mark, away from the face's edge.
                for (int y = 10 + b; y < 15; ++y)
                    for (int x = 6; x < 10 + b; ++x)
                        button.setPixel(x, y, qRgb(20 * b, 200, s == "inactive" ? 90 : 10));
                pieces[QByteArray(buttons[b]) + '-' + s] = button;
            }
    }

    void write(const QString& folder) const
    {
        QDir().mkpath(folder);
        writeBytes(folder + QStringLiteral("/themerc"), "button_offset=0\n");
        for (auto it = pieces.cbegin(); it != pieces.cend(); ++it)
            writeBytes(folder + QLatin1Char('/') + QString::fromLatin1(it.key()) + ".xpm",
                xpmOf(it.value()));
    }
};

bool samePixels(const QImage& a, const QImage& b)
{
    return a.size() == b.size()
        && a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// The window's view of a face with its glyph over it at the glyph's offset.
QImage composed(const QImage& face, const QImage& glyph, QPoint at)
{
    // The glyph is not clipped to its face: the window draws it in a place of its own.
    QImage out(40, 40, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const QImage f = ColourKey::apply(face);
    for (int y = 0; y < f.height(); ++y)
        for (int x = 0; x < f.width(); ++x)
            out.setPixel(x, y, f.pixel(x, y));
    const QImage g = ColourKey::apply(glyph);
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x)
            if (qAlpha(g.pixel(x, y)) == 255 && out.rect().contains(x + at.x(), y + at.y()))
                out.setPixel(x + at.x(), y + at.y(), g.pixel(x, y));
    return out;
}

int opaqueCount(const QImage& picture)
{
    int n = 0;
    const QImage shown = ColourKey::apply(picture);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            n += qAlpha(shown.pixel(x, y)) == 255;
    return n;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class tst_Xfwm4Import : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void piecesComeFromTheirSources_data();
    void piecesComeFromTheirSources();
    void buttonsSplitIntoFaceAndGlyphs_data();
    void buttonsSplitIntoFaceAndGlyphs();
    void leftCornersKeyTheMaskOutside();
    void xpmColours_data();
    void xpmColours();
    void pngOverXpmIsClippedToTheXpm();
    void svgPieceAtItsOwnSize();
    void adaptations_data();
    void adaptations();
    void missingPieceFromItsNeighbour();
    void refusals_data();
    void refusals();
    void hostileThemes_data();
    void hostileThemes();
    void everyInstalledTheme_data();
    void everyInstalledTheme();
    void exportedAndImportedRendersAsBefore_data();
    void exportedAndImportedRendersAsBefore();

private:
    QString themeFolder() const { return m_dir->path() + QStringLiteral("/Theme/xfwm4"); }
    QByteArray styleDir() const
    {
        return QFile::encodeName(m_dir->path() + QStringLiteral("/Style"));
    }
    ThemeImport::Result importDefault()
    {
        return ThemeImport::importTheme(
            QFile::encodeName(m_dir->path() + QStringLiteral("/Theme")), styleDir(), false);
    }
    QImage styleFile(const char* name) const { return readBitmap(joinStylePath(styleDir(), name)); }
    bool anyLine(const char* part, const ThemeImport::Result& result) const
    {
        for (const QByteArray& line : result.style.adaptations)
            if (line.contains(part))
                return true;
        return false;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    Theme m_theme;
};

void tst_Xfwm4Import::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY2(m_dir->isValid(), "no temporary directory");
    m_theme = Theme();
}

void tst_Xfwm4Import::piecesComeFromTheirSources_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QPoint>("probe");
    for (const char* w : { "active", "inactive" }) {
        const QByteArray s = w;
        QTest::addRow("right corner %s", w) << "captionbar_right_" + s + ".png"
                                            << "top-right-" + s << QPoint(5, 5);
        QTest::addRow("left corner %s", w) << "captionbar_left_" + s + ".png"
                                           << "top-left-" + s << QPoint(5, 5);
        QTest::addRow("caption middle %s", w) << "captionbar_" + s + ".png"
                                              << "title-3-" + s << QPoint(2, 10);
        QTest::addRow("side edge %s", w) << "frameleft_" + s + ".png"
                                         << "left-" + s << QPoint(2, 10);
        QTest::addRow("bottom edge %s", w) << "framebottom_" + s + ".png"
                                           << "bottom-" + s << QPoint(5, 4);
        QTest::addRow("bottom-left %s", w) << "framebottom_left_" + s + ".png"
                                           << "bottom-left-" + s << QPoint(2, 4);
        QTest::addRow("bottom-right %s", w) << "framebottom_right_" + s + ".png"
                                            << "bottom-right-" + s << QPoint(2, 4);
    }
}

void tst_Xfwm4Import::piecesComeFromTheirSources()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, source);
    QFETCH(QPoint, probe);
    m_theme.write(themeFolder());
    const ThemeImport::Result result = importDefault();
    QVERIFY2(result.status == 0, result.error.constData());
    const QImage picture = styleFile(file.constData());
    const QImage original = m_theme.pieces.value(source);
    QCOMPARE(picture.size(), original.size());
    QCOMPARE(QColor(picture.pixel(probe)), QColor(original.pixel(probe)));
    if (!file.startsWith("captionbar_left"))
        QVERIFY2(samePixels(picture, original), "a piece of the format's size is copied exactly");
}

void tst_Xfwm4Import::buttonsSplitIntoFaceAndGlyphs_data()
{
    QTest::addColumn<bool>("shared");
    QTest::newRow("a face in common") << true;
    QTest::newRow("nothing in common") << false;
}

void tst_Xfwm4Import::buttonsSplitIntoFaceAndGlyphs()
{
    QFETCH(bool, shared);
    ButtonSplit::Input input;
    const QImage caption = solid(6, 29, qRgb(10, 20, 30));
    input.caption[0] = input.caption[1] = caption;
    for (int b = 0; b < ButtonSplit::kButtons; ++b)
        for (int s = 0; s < ButtonSplit::kStates; ++s) {
            QImage button = solid(16, 29, caption.pixel(0, 0));
            if (shared)
                for (int y = 7; y < 23; ++y)
                    for (int x = 0; x < 16; ++x)
                        button.setPixel(x, y, qRgb(150, 150, 150));
            // Without a face the buttons' marks lie apart and share no pixel.
            const int left = shared ? 5 : 2 + 3 * b;
            for (int y = 10; y < 14; ++y)
                for (int x = left; x < left + 3; ++x)
                    button.setPixel(x, y, qRgb(200, 40 * b, 60 * s));
            input.image[b][s] = button;
        }
    const ButtonSplit::Output output = ButtonSplit::split(input);
    QCOMPARE(output.sharedFace, shared);
    QCOMPARE(opaqueCount(output.face[0]) > 0, shared);
    // The window's face with each glyph at its offset is the button less the caption, cropped.
    for (int b = 0; b < ButtonSplit::kButtons; ++b) {
        const QPoint at = ButtonSplit::glyphOffset(ButtonSplit::Button(b));
        const QImage shown = composed(output.face[0], output.glyph[b][0], at);
        int marks = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                marks += shown.pixel(x, y) == qRgb(200, 40 * b, 0);
        QCOMPARE(marks, 12);
        QCOMPARE(opaqueCount(output.glyph[b][0]), 12);
    }
}

void tst_Xfwm4Import::leftCornersKeyTheMaskOutside()
{
    // A corner with its outer corner cut away and a white highlight of its own.
    QImage corner = solid(12, 29, qRgb(90, 90, 200));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3 - y; ++x)
            corner.setPixel(x, y, 0);
    corner.setPixel(5, 1, qRgb(255, 255, 255));
    m_theme.pieces["top-left-active"] = corner;
    m_theme.pieces["top-left-inactive"] = corner;
    m_theme.write(themeFolder());
    const ThemeImport::Result result = importDefault();
    QVERIFY2(result.status == 0, result.error.constData());
    const QImage mask = styleFile("frame_mask_left.bmp");
    const QImage left = styleFile("captionbar_left_active.png");
    QCOMPARE(QColor(mask.pixel(0, 0)), QColor(Qt::white));
    QCOMPARE(QColor(mask.pixel(6, 10)), QColor(Qt::black));
    QCOMPARE(QColor(left.pixel(0, 28)), QColor(Qt::white));
    QCOMPARE(QColor(left.pixel(5, 1)), QColor(qRgb(255, 255, 254)));
    QVERIFY(
        anyLine("captionbar_left_active.png: the bottom-left pixel made the mask's outside colour",
            result));
    QVERIFY(anyLine("1 other pixels of that colour moved one step", result));
}

void tst_Xfwm4Import::xpmColours_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QByteArray>("themerc");
    QTest::addColumn<QRgb>("expected");
    QTest::newRow("hex") << QByteArray(". c #102030") << QByteArray() << qRgb(0x10, 0x20, 0x30);
    QTest::newRow("short hex") << QByteArray(". c #f80") << QByteArray() << qRgb(0xff, 0x88, 0x00);
    QTest::newRow("X11 green, not CSS")
        << QByteArray(". c green") << QByteArray() << qRgb(0, 255, 0);
    QTest::newRow("X11 name of two words")
        << QByteArray(". c light sea green") << QByteArray() << qRgb(32, 178, 170);
    QTest::newRow("None") << QByteArray(". c None") << QByteArray() << QRgb(0);
    QTest::newRow("unknown name is transparent")
        << QByteArray(". c nosuch") << QByteArray() << QRgb(0);
    QTest::newRow("m alone gives none") << QByteArray(". m #ffffff") << QByteArray() << QRgb(0);
    QTest::newRow("symbol from themerc")
        << QByteArray(". s active_color_1 c #000000") << QByteArray("active_color_1=#aabbcc\n")
        << qRgb(0xaa, 0xbb, 0xcc);
    QTest::newRow("symbol before or after c")
        << QByteArray(". c #000000 s active_color_1") << QByteArray("active_color_1=#aabbcc\n")
        << qRgb(0xaa, 0xbb, 0xcc);
    QTest::newRow("symbol from GTK under Adwaita")
        << QByteArray(". s active_color_1 c #000000") << QByteArray() << qRgb(0x35, 0x84, 0xe4);
    QTest::newRow("symbol named by another")
        << QByteArray(". s active_text_color c #000000")
        << QByteArray("active_text_color=active_color_2\n") << qRgb(0xf6, 0xf5, 0xf4);
    QTest::newRow("unknown symbol takes c")
        << QByteArray(". s background c #123456") << QByteArray() << qRgb(0x12, 0x34, 0x56);
    QTest::newRow("key with spaces does not match")
        << QByteArray(". s active_color_1 c #000000") << QByteArray("active_color_1 =#aabbcc\n")
        << qRgb(0x35, 0x84, 0xe4);
}

void tst_Xfwm4Import::xpmColours()
{
    QFETCH(QByteArray, entry);
    QFETCH(QByteArray, themerc);
    QFETCH(QRgb, expected);
    const ThemeReader::Settings settings = ThemeReader::parseThemerc(themerc);
    const QByteArray xpm = "/* XPM */\nstatic char *x[] = {\n\"2 1 2 1\",\n\"" + entry
        + "\",\n\"x c #ffffff\",\n\".?\"\n};\n";
    QByteArray why;
    const QImage image = XpmReader::read(xpm, settings.symbols, &why);
    QVERIFY2(!image.isNull(), why.constData());
    QCOMPARE(QColor::fromRgba(image.pixel(0, 0)),
        QColor::fromRgba(expected == 0 ? 0 : expected | 0xff000000u));
    // A pixel naming no entry takes the first entry's colour.
    QCOMPARE(image.pixel(1, 0), image.pixel(0, 0));
}

void tst_Xfwm4Import::pngOverXpmIsClippedToTheXpm()
{
    QDir().mkpath(themeFolder());
    writeBytes(themeFolder() + "/title-1-active.xpm", xpmOf(solid(4, 19, qRgb(1, 2, 3))));
    QImage over = solid(8, 19, qRgba(200, 0, 0, 255));
    over.setPixel(1, 1, qRgba(0, 0, 0, 0));
    over.setPixel(2, 1, qRgba(0, 0, 255, 128));
    QVERIFY(over.save(themeFolder() + "/title-1-active.png"));
    const ThemeReader::Piece piece
        = ThemeReader::readPiece(QFile::encodeName(themeFolder()), "title-1-active", {});
    QCOMPARE(piece.image.size(), QSize(4, 19));
    QCOMPARE(piece.files, QByteArray("title-1-active.xpm + title-1-active.png"));
    QCOMPARE(QColor(piece.image.pixel(0, 0)), QColor(200, 0, 0));
    QCOMPARE(QColor(piece.image.pixel(1, 1)), QColor(1, 2, 3));
    QCOMPARE(qAlpha(piece.image.pixel(2, 1)), 255);
    // A piece with only the image is the image, and only alpha 255 is opaque.
    QFile::remove(themeFolder() + "/title-1-active.xpm");
    const QImage alone
        = ThemeReader::readPiece(QFile::encodeName(themeFolder()), "title-1-active", {}).image;
    QCOMPARE(alone.size(), QSize(8, 19));
    QCOMPARE(qAlpha(alone.pixel(2, 1)), 0);
}

void tst_Xfwm4Import::svgPieceAtItsOwnSize()
{
#ifndef FRAMEWRIGHT_HAVE_SVG
    QFAIL("built without Qt SVG (qt6-svg-dev): SVG pieces cannot be read");
#else
    QDir().mkpath(themeFolder());
    writeBytes(themeFolder() + "/left-active.svg",
        "<svg xmlns='http://www.w3.org/2000/svg' width='5' height='7'>"
        "<rect x='0' y='0' width='5' height='7' fill='#ff0000'/></svg>");
    writeBytes(themeFolder() + "/left-active.png", "not read: the SVG comes first");
    const ThemeReader::Piece piece
        = ThemeReader::readPiece(QFile::encodeName(themeFolder()), "left-active", {});
    QCOMPARE(piece.files, QByteArray("left-active.svg"));
    QCOMPARE(piece.image.size(), QSize(5, 7));
    QCOMPARE(QColor(piece.image.pixel(2, 3)), QColor(255, 0, 0));
#endif
}

void tst_Xfwm4Import::adaptations_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QImage>("piece");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("line");
    QImage tall = solid(6, 19, qRgb(10, 10, 10));
    for (int x = 0; x < 6; ++x) {
        tall.setPixel(x, 0, qRgb(255, 0, 0));
        tall.setPixel(x, 18, qRgb(0, 0, 255));
    }
    QTest::newRow("caption stretched in its inner rows")
        << QByteArray("title-3-active") << tall << QByteArray("captionbar_active.png")
        << QByteArray("title-3-active: 6 x 19 made 6 x 29, stretched down");
    QTest::newRow("edge cut from its inner side")
        << QByteArray("left-active") << solid(8, 20, qRgb(1, 1, 1))
        << QByteArray("frameleft_active.png")
        << QByteArray("left-active: 8 x 20 made 5 x 20, cut across");
    QTest::newRow("narrow corner continued")
        << QByteArray("top-left-active") << solid(8, 29, qRgb(3, 3, 3))
        << QByteArray("captionbar_left_active.png")
        << QByteArray("top-left-active: 8 wide made 12, continued with title-3-active");
    QTest::newRow("large bottom corner cut to the form's")
        << QByteArray("bottom-right-active") << solid(16, 16, qRgb(4, 4, 4))
        << QByteArray("framebottom_right_active.png")
        << QByteArray("bottom-right-active: 16 x 16 made 5 x 8");
    QImage large = solid(40, 44, qRgb(150, 150, 150));
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 30; ++x)
            large.setPixel(x, y, qRgb(20, 200, 10));
    QTest::newRow("large button scaled down, never cut")
        << QByteArray("hide-active") << large << QByteArray("captionbutton_normal.png")
        << QByteArray("buttons: 40 x 44 scaled down smoothly to");
}

void tst_Xfwm4Import::adaptations()
{
    QFETCH(QByteArray, source);
    QFETCH(QImage, piece);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, line);
    m_theme.pieces[source] = piece;
    m_theme.write(themeFolder());
    const ThemeImport::Result result = importDefault();
    QVERIFY2(result.status == 0, result.error.constData());
    QVERIFY2(anyLine(line.constData(), result), line.constData());
    const QImage out = styleFile(file.constData());
    const StyleFile* entry = StyleFiles::find(file);
    QVERIFY(entry);
    if (entry->width)
        QCOMPARE(out.width(), entry->width);
    if (entry->height)
        QCOMPARE(out.height(), entry->height);
    if (source == "hide-active") {
        QVERIFY(out.width() <= ButtonSplit::kFaceWidth && out.height() <= ButtonSplit::kFaceHeight);
        // Scaled, the mark is still there, whole and opaque.
        const QImage glyph = ColourKey::apply(styleFile("minimize_active_normal.png"));
        int mark = 0;
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                mark += qAlpha(glyph.pixel(x, y)) == 255 && qGreen(glyph.pixel(x, y)) > 150;
        QVERIFY2(mark > 20, qPrintable(QString::number(mark)));
    }
    if (source == "title-3-active") {
        // The outer rows stay one pixel and sharp.
        QCOMPARE(QColor(out.pixel(0, 0)), QColor(255, 0, 0));
        QCOMPARE(QColor(out.pixel(0, 28)), QColor(0, 0, 255));
        QCOMPARE(QColor(out.pixel(0, 1)), QColor(10, 10, 10));
        QCOMPARE(QColor(out.pixel(0, 27)), QColor(10, 10, 10));
    }
    if (source == "top-left-active") {
        QCOMPARE(QColor(out.pixel(3, 10)), QColor(3, 3, 3));
        QCOMPARE(QColor(out.pixel(10, 10)), QColor(m_theme.pieces["title-3-active"].pixel(0, 10)));
    }
    QCOMPARE(checkStyle(styleDir()).errors(), 0);
}

void tst_Xfwm4Import::missingPieceFromItsNeighbour()
{
    m_theme.pieces.remove("top-left-inactive");
    m_theme.pieces.remove("hide-prelight");
    m_theme.write(themeFolder());
    const ThemeImport::Result result = importDefault();
    QVERIFY2(result.status == 0, result.error.constData());
    QVERIFY(anyLine(
        "top-left-inactive: missing: the left caption corner made from top-left-active", result));
    QVERIFY(anyLine("hide-prelight: missing: minimize's over look made from hide-active", result));
    QCOMPARE(QColor(styleFile("captionbar_left_inactive.png").pixel(5, 5)),
        QColor(m_theme.pieces["top-left-active"].pixel(5, 5)));
    QCOMPARE(checkStyle(styleDir()).errors(), 0);
}

void tst_Xfwm4Import::refusals_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<bool>("force");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("not empty") << QStringLiteral("Full") << false
                               << QByteArray("exists and is not empty");
    QTest::newRow("the theme itself")
        << QStringLiteral("Theme") << true << QByteArray("is the theme");
    QTest::newRow("inside the theme")
        << QStringLiteral("Theme/xfwm4/style") << true << QByteArray("is the theme");
    QTest::newRow("holding the theme") << QStringLiteral(".") << true << QByteArray("is the theme");
}

void tst_Xfwm4Import::refusals()
{
    QFETCH(QString, dir);
    QFETCH(bool, force);
    QFETCH(QByteArray, message);
    m_theme.write(themeFolder());
    QDir().mkpath(m_dir->path() + "/Full");
    writeBytes(m_dir->path() + "/Full/keep.txt", "kept");
    // A folder inside and links out, which --force removes without following.
    QDir().mkpath(m_dir->path() + "/Full/sub");
    QDir().mkpath(m_dir->path() + "/Outside");
    writeBytes(m_dir->path() + "/Outside/kept.txt", "kept");
    QVERIFY(QFile::link(m_dir->path() + "/Outside", m_dir->path() + "/Full/link"));
    QVERIFY(QFile::link(m_dir->path() + "/Outside", m_dir->path() + "/Full/sub/link"));
    const QByteArray target = QFile::encodeName(m_dir->path() + '/' + dir);
    const ThemeImport::Result result
        = ThemeImport::importTheme(QFile::encodeName(m_dir->path() + "/Theme"), target, force);
    QCOMPARE(result.status, 1);
    QVERIFY2(result.error.contains(message), result.error.constData());
    QVERIFY(QFile::exists(m_dir->path() + "/Full/keep.txt"));
    QVERIFY(QFile::exists(themeFolder() + "/themerc"));
    // With --force a full DIR is replaced whole.
    if (dir == QLatin1String("Full")) {
        const ThemeImport::Result forced
            = ThemeImport::importTheme(QFile::encodeName(m_dir->path() + "/Theme"), target, true);
        QVERIFY2(forced.status == 0, forced.error.constData());
        QVERIFY(!QFile::exists(m_dir->path() + "/Full/keep.txt"));
        QCOMPARE(
            QDir(m_dir->path() + "/Full").entryList(QDir::Files).size(), StyleFiles::all().size());
        QVERIFY(!QFile::exists(m_dir->path() + "/.Full.importing"));
        QVERIFY(QFile::exists(m_dir->path() + "/Outside/kept.txt"));
    }
}

void tst_Xfwm4Import::hostileThemes_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("status");
    QTest::newRow("themerc of one 10 MB line") << Change([](const QByteArray& f) {
        writeBytes(QFile::decodeName(f) + "/themerc", QByteArray(10 * 1024 * 1024, 'a'));
    }) << 0;
    QTest::newRow("themerc of binary bytes") << Change([](const QByteArray& f) {
        QByteArray bytes;
        for (int i = 0; i < 100000; ++i)
            bytes += char((i * 7919) & 0xff);
        writeBytes(QFile::decodeName(f) + "/themerc", bytes);
    }) << 0;
    QTest::newRow("unreadable themerc") << Change([](const QByteArray& f) {
        QFile::remove(QFile::decodeName(f) + "/themerc");
        QVERIFY(::mkfifo((f + "/themerc").constData(), 0644) == 0);
    }) << 1;
    QTest::newRow("XPM declaring 100000 x 100000") << Change([](const QByteArray& f) {
        writeBytes(QFile::decodeName(f) + "/title-3-active.xpm",
            "/* XPM */\nstatic char *x[] = {\n\"100000 100000 1 1\",\n\". c #ff0000\",\n};\n");
    }) << 0;
    QTest::newRow("PNG declaring 100000 x 100000") << Change([](const QByteArray& f) {
        const QByteArray chunk = QByteArray::fromHex("49484452000186a0000186a00806000000");
        quint32 crc = 0xffffffffu;
        for (const char byte : chunk) {
            crc ^= quint8(byte);
            for (int k = 0; k < 8; ++k)
                crc = (crc & 1) ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
        }
        crc ^= 0xffffffffu;
        QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d") + chunk;
        for (int shift = 24; shift >= 0; shift -= 8)
            png += char((crc >> shift) & 0xff);
        writeBytes(QFile::decodeName(f) + "/left-active.png", png);
    }) << 0;
    QTest::newRow("SVG nested without bound") << Change([](const QByteArray& f) {
        writeBytes(QFile::decodeName(f) + "/bottom-active.svg",
            "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'>"
                + QByteArray("<g>").repeated(100000) + QByteArray("</g>").repeated(100000)
                + "</svg>");
    }) << 0;
    QTest::newRow("SVG of a huge size") << Change([](const QByteArray& f) {
        writeBytes(QFile::decodeName(f) + "/bottom-active.svg",
            "<svg xmlns='http://www.w3.org/2000/svg' width='100000' height='100000' viewBox='0 0 "
            "1e9 1e9'/>");
    }) << 0;
    QTest::newRow("SVG entity expansion") << Change([](const QByteArray& f) {
        writeBytes(QFile::decodeName(f) + "/bottom-active.svg",
            "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b "
            "'&a;&a;&a;&a;&a;&a;&a;'>"
            "<!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;'>]><svg xmlns='http://www.w3.org/2000/svg' "
            "width='4' "
            "height='4'><text>&c;</text></svg>");
    }) << 0;
    QTest::newRow("symlink loop") << Change([](const QByteArray& f) {
        QFile::remove(QFile::decodeName(f) + "/left-active.xpm");
        QVERIFY(::symlink("left-active.xpm", (f + "/left-active.xpm").constData()) == 0);
    }) << 0;
    QTest::newRow("symlink to /dev/zero") << Change([](const QByteArray& f) {
        QFile::remove(QFile::decodeName(f) + "/title-3-inactive.xpm");
        QVERIFY(::symlink("/dev/zero", (f + "/title-3-inactive.xpm").constData()) == 0);
    }) << 0;
    QTest::newRow("FIFO in place of a piece") << Change([](const QByteArray& f) {
        QFile::remove(QFile::decodeName(f) + "/hide-active.xpm");
        QVERIFY(::mkfifo((f + "/hide-active.xpm").constData(), 0644) == 0);
    }) << 0;
    QTest::newRow("name that is not UTF-8") << Change([](const QByteArray& f) {
        writeBytes(QFile::decodeName(f + "/title-\xff-active.xpm"), "/* XPM */");
    }) << 0;
    QTest::newRow("no frame piece at all") << Change([](const QByteArray& f) {
        QDir dir(QFile::decodeName(f));
        for (const QString& name : dir.entryList({ QStringLiteral("*.xpm") }))
            if (!name.startsWith(QLatin1String("hide")))
                dir.remove(name);
    }) << 1;
}

void tst_Xfwm4Import::hostileThemes()
{
    QFETCH(Change, change);
    QFETCH(int, status);
    m_theme.write(themeFolder());
    change(QFile::encodeName(themeFolder()));
    QElapsedTimer timer;
    timer.start();
    const ThemeImport::Result result = importDefault();
    QCOMPARE(result.status, status);
    if (status == 0)
        QCOMPARE(checkStyle(styleDir()).errors(), 0);
    else
        QVERIFY2(!QFile::exists(QFile::decodeName(styleDir())), "no partial style");
    QVERIFY2(!result.error.isEmpty() || status == 0, "a refusal says why");
}

void tst_Xfwm4Import::everyInstalledTheme_data()
{
    QTest::addColumn<QString>("theme");
    const QStringList themes
        = QDir(QStringLiteral("/usr/share/themes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    int rows = 0;
    for (const QString& name : themes)
        if (QFileInfo(
                QStringLiteral("/usr/share/themes/") + name + QStringLiteral("/xfwm4/themerc"))
                .isFile()) {
            QTest::newRow(qPrintable(name)) << QStringLiteral("/usr/share/themes/") + name;
            ++rows;
        }
    if (rows == 0)
        QTest::newRow("none installed") << QString();
}

void tst_Xfwm4Import::everyInstalledTheme()
{
    QFETCH(QString, theme);
    QVERIFY2(!theme.isEmpty(),
        "no xfwm4 theme under /usr/share/themes: tools/test.sh installs xfwm4 "
        "and xfwm4-theme-breeze");
    const ThemeImport::Result result
        = ThemeImport::importTheme(QFile::encodeName(theme), styleDir(), false);
    QVERIFY2(result.status == 0, result.error.constData());
    const StyleReport report = checkStyle(styleDir());
    QCOMPARE(report.errors(), 0);
    for (const StyleProblem& problem : report.problems)
        QVERIFY2(anyLine(problem.file.constData(), result),
            qPrintable(QStringLiteral("a warning no adaptation line named: ")
                + QString::fromLatin1(problem.file)));
    // Every pixel of a frame piece is one of its theme piece's, or of the piece that continues it.
    const QByteArray folder = QFile::encodeName(theme) + "/xfwm4";
    const ThemeReader::Settings settings = ThemeReader::parseThemerc([&] {
        QByteArray bytes, why;
        ThemeReader::readFile(folder + "/themerc", bytes, why);
        return bytes;
    }());
    const struct
    {
        const char* file;
        QList<QByteArray> sources;
    } frame[] = {
        { "captionbar_active.png", { "title-3-active" } },
        { "frameleft_active.png", { "left-active" } },
        { "framebottom_active.png", { "bottom-active" } },
        { "framebottom_left_active.png", { "bottom-left-active" } },
        { "captionbar_right_active.png",
            { "top-right-active", "title-5-active", "title-3-active" } },
        { "captionbar_inactive.png", { "title-3-inactive" } },
        { "frameleft_inactive.png", { "left-inactive" } },
    };
    for (const auto& piece : frame) {
        QSet<QRgb> pixels;
        for (const QByteArray& source : piece.sources) {
            const QImage image = ThemeReader::readPiece(folder, source, settings.symbols).image;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    pixels.insert(image.pixel(x, y));
        }
        const QImage out = styleFile(piece.file).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                QVERIFY2(pixels.contains(qAlpha(out.pixel(x, y)) == 255 ? out.pixel(x, y) : 0),
                    qPrintable(QStringLiteral("%1 (%2, %3) is no pixel of its source")
                                   .arg(QLatin1String(piece.file))
                                   .arg(x)
                                   .arg(y)));
        const QImage source
            = ThemeReader::readPiece(folder, piece.sources.first(), settings.symbols).image;
        if (source.size() == out.size())
            QVERIFY2(samePixels(source, out), piece.file);
    }
}

void tst_Xfwm4Import::exportedAndImportedRendersAsBefore_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("odd");
    for (const char* name : { "Luna", "Silver", "Licorice" })
        QTest::newRow(name) << QString::fromLatin1(name) << false;
    QTest::newRow("odd sizes") << QStringLiteral("Luna") << true;
}

// A style exported for xfwm4 and imported again shows what it showed: the export takes what
// the window draws, and the import gives it back at the form's sizes.
void tst_Xfwm4Import::exportedAndImportedRendersAsBefore()
{
    QFETCH(QString, style);
    QFETCH(bool, odd);
    const QString source = QFINDTESTDATA(QStringLiteral("../styles/%1/Frame").arg(style));
    QVERIFY2(!source.isEmpty(), "the sample styles are not beside the tests");
    const QString original = m_dir->path() + QStringLiteral("/Original");
    QDir().mkpath(original);
    for (const QString& name : QDir(source).entryList(QDir::Files))
        QVERIFY(QFile::copy(source + '/' + name, original + '/' + name));
    if (odd) {
        // Corners larger than 12 x 29, edges wider than 5, a bottom higher than 8.
        auto grow = [&](const char* name, int w, int h) {
            const QString path = original + '/' + QLatin1String(name);
            const QImage image = readBitmap(QFile::encodeName(path));
            QVERIFY(image.scaled(image.width() + w, image.height() + h).save(path));
        };
        for (const char* w : { "active", "inactive" }) {
            grow(qPrintable(QStringLiteral("captionbar_left_%1.png").arg(QLatin1String(w))), 3, 2);
            grow(qPrintable(QStringLiteral("captionbar_right_%1.png").arg(QLatin1String(w))), 3, 2);
            grow(qPrintable(QStringLiteral("frameleft_%1.png").arg(QLatin1String(w))), 2, 0);
            grow(qPrintable(QStringLiteral("framebottom_%1.png").arg(QLatin1String(w))), 0, 3);
        }
    }
    const QByteArray originalDir = QFile::encodeName(original);
    const ThemeExport theme = ThemeExport::fromStyle(originalDir);
    QVERIFY2(!theme.failed(), qPrintable(theme.failure));
    const QString folder = m_dir->path() + QStringLiteral("/Exported/xfwm4");
    QDir().mkpath(folder);
    for (const ThemeExport::File& file : theme.files())
        writeBytes(folder + '/' + QFile::decodeName(file.name), file.bytes);
    const ThemeImport::Result result = ThemeImport::importTheme(
        QFile::encodeName(m_dir->path() + QStringLiteral("/Exported")), styleDir(), false);
    QVERIFY2(result.status == 0, result.error.constData());
    const PanelRender before = renderPanel(originalDir, StyleFile::State::Normal);
    const PanelRender after = renderPanel(styleDir(), StyleFile::State::Normal);
    QVERIFY2(before.failure.isEmpty() && after.failure.isEmpty(), "a load pass stopped");
    QCOMPARE(after.picture.size(), before.picture.size());
    // Only where the masks mark the window's body: outside them the original's own corner
    // compositing decides, which a theme cannot carry.
    PreviewPanel panel;
    panel.resize(PreviewPanel::kSizeInWindow);
    const QImage masks[2] = { readBitmap(originalDir + "/frame_mask_left.bmp"),
        readBitmap(originalDir + "/frame_mask_right.bmp") };
    auto outsideMask = [&](QPoint p) {
        for (const char* name : { "InactiveWindow", "ActiveWindow" }) {
            const QWidget* window = panel.findChild<QWidget*>(QLatin1String(name));
            if (!window)
                return false;
            const QRect rect(window->mapTo(&panel, QPoint(0, 0)), window->size());
            const QRect corners[2] = { QRect(rect.topLeft(), QSize(12, 29)),
                QRect(rect.right() - 11, rect.top(), 12, 29) };
            for (int side = 0; side < 2; ++side) {
                if (!corners[side].contains(p))
                    continue;
                const QPoint at = p - corners[side].topLeft();
                return !masks[side].rect().contains(at) || masks[side].pixel(at) != qRgb(0, 0, 0);
            }
        }
        return false;
    };
    int differing = 0, steps = 0;
    for (int y = 0; y < before.picture.height(); ++y)
        for (int x = 0; x < before.picture.width(); ++x)
            if (before.picture.pixel(x, y) != after.picture.pixel(x, y) && !outsideMask({ x, y })) {
                // The left corners' white, which the key takes, moved one step off it, as the
                // import's key line says.
                const bool moved = before.picture.pixel(x, y) == qRgb(255, 255, 255)
                    && after.picture.pixel(x, y) == qRgb(255, 255, 254);
                if (moved)
                    ++steps;
                else
                    ++differing;
            }
    QCOMPARE(differing, 0);
    if (steps > 0)
        QVERIFY(anyLine("other pixels of that colour moved one step", result));
}

QTEST_MAIN(tst_Xfwm4Import)
#include "tst_xfwm4import.moc"
