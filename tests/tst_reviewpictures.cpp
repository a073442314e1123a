// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"
#include "controls/AppLook.h"
#include "preview/PreviewPanel.h"
#include "review/ContactSheet.h"
#include "review/PanelRender.h"
#include "review/StatesGrid.h"
#include "style/StyleFiles.h"

#include <QDir>
#include <QtTest>

using Button = StatesGrid::Button;
using State = StatesGrid::State;
using Status = PictureKit::Status;
using Look = StyleFile::State;

namespace {

// The files the window never reads, each in a colour no fixture file has.
const char* const kOptional[]
    = { "close_active_over.png", "maximize_active_over.png", "restore_active_over.png",
          "close_active_press.png", "maximize_active_press.png", "restore_active_press.png" };

QRgb optionalColour(const QString& file)
{
    for (int i = 0; i < 6; ++i)
        if (file == QLatin1String(kOptional[i]))
            return qRgb(230, 10 + 30 * i, 240);
    return 0;
}

QRgb colourOfAny(const QString& file)
{
    const QRgb optional = optionalColour(file);
    return optional ? optional : StyleFixture::colourOf(file);
}

void writeWholeStyle(StyleFixture& style)
{
    style.writeAll();
    for (const char* file : kOptional)
        style.write(QString::fromLatin1(file), { 13, 13 }, optionalColour(QLatin1String(file)));
}

const ContactSheet::Cell* cellOf(const ContactSheet& sheet, const char* name)
{
    for (const ContactSheet::Cell& cell : sheet.cells())
        if (qstrcmp(cell.file->name, name) == 0)
            return &cell;
    return nullptr;
}

QString missingMessage(const StyleFixture& style, const QString& file)
{
    return QStringLiteral("Cannot open file \"%1\". No such file or directory.")
        .arg(style.path(file));
}

QImage comparable(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_ReviewPictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sheetCellsFollowTheTree();
    void sheetCellText_data();
    void sheetCellText();
    void sheetColourKey();
    void sheetMarksFailedFiles_data();
    void sheetMarksFailedFiles();
    void sheetLeavesOutLongMagnifiedCopies_data();
    void sheetLeavesOutLongMagnifiedCopies();
    void statesEqualTheRender_data();
    void statesEqualTheRender();
    void statesShowEachButtonsFiles_data();
    void statesShowEachButtonsFiles();
    void statesMarkFailedFiles_data();
    void statesMarkFailedFiles();
    void statesShowOverlappingButtonsAlone_data();
    void statesShowOverlappingButtonsAlone();
    void sizeGeometry_data();
    void sizeGeometry();

private:
    QString sampleStyle(const char* name) const;
};

void tst_ReviewPictures::initTestCase()
{
    applyApplicationLook();
}

QString tst_ReviewPictures::sampleStyle(const char* name) const
{
    return QFINDTESTDATA(QStringLiteral("../styles/%1/Frame").arg(QLatin1String(name)));
}

void tst_ReviewPictures::sheetCellsFollowTheTree()
{
    StyleFixture style;
    writeWholeStyle(style);
    const ContactSheet sheet(style.dirBytes());
    QStringList names, groups;
    for (const ContactSheet::Cell& cell : sheet.cells()) {
        names.append(QString::fromLatin1(cell.file->name));
        if (groups.isEmpty() || groups.last() != cell.group)
            groups.append(cell.group);
    }
    // The tree's order; the right edges name the left-edge files again, which get no second cell,
    // and the window titles and the button mask have no file.
    const QStringList expected = QStringLiteral(
        "frame_mask_left.bmp frame_mask_right.bmp "
        "captionbar_left_active.png captionbar_right_active.png captionbar_active.png "
        "frameleft_active.png framebottom_active.png framebottom_left_active.png "
        "framebottom_right_active.png "
        "captionbar_left_inactive.png captionbar_right_inactive.png captionbar_inactive.png "
        "frameleft_inactive.png framebottom_inactive.png framebottom_left_inactive.png "
        "framebottom_right_inactive.png "
        "captionbutton_normal.png captionbutton_over.png captionbutton_press.png "
        "maximize_active_normal.png maximize_active_disable.png maximize_active_over.png "
        "maximize_active_press.png minimize_active_normal.png minimize_active_disable.png "
        "minimize_active_over.png minimize_active_press.png restore_active_normal.png "
        "restore_active_disable.png restore_active_over.png restore_active_press.png "
        "close_active_normal.png close_active_disable.png close_active_over.png "
        "close_active_press.png")
                                     .split(QLatin1Char(' '));
    QCOMPARE(names, expected);
    QCOMPARE(names.size(), StyleFiles::all().size());
    QCOMPARE(groups,
        QStringList({ "Captionbar Masks", "Active Frame", "Inactive Frame", "Caption Button",
            "Maximize", "Minimize", "Restore", "Close" }));
    QVERIFY(sheet.failures().isEmpty());
    // Every cell shows the file it names, read from the disk.
    for (const ContactSheet::Cell& cell : sheet.cells()) {
        const QString name = QString::fromLatin1(cell.file->name);
        QCOMPARE(cell.status, Status::Shown);
        if (cell.file->piece == StyleFile::Piece::Mask)
            continue;
        const QImage& picture = cell.picture;
        QCOMPARE(picture.pixel(picture.width() / 2, picture.height() / 2) | 0xff000000u,
            colourOfAny(name));
    }
}

void tst_ReviewPictures::sheetCellText_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("lines");
    const QString noKey = QStringLiteral("no colour key");
    const QString whiteKey = QStringLiteral("colour key #ffffff left out");
    QTest::newRow("mask") << "frame_mask_left.bmp" << QSize(12, 29)
                          << QStringList { "frame_mask_left.bmp", "12 x 29 pixels",
                                 "cut to 12 x 29", noKey };
    QTest::newRow("left corner, keyed") << "captionbar_left_active.png" << QSize(14, 30)
                                        << QStringList { "captionbar_left_active.png",
                                               "14 x 30 pixels", "cut to 12 x 29", whiteKey };
    QTest::newRow("right corner, not keyed") << "captionbar_right_inactive.png" << QSize(12, 29)
                                             << QStringList { "captionbar_right_inactive.png",
                                                    "12 x 29 pixels", "cut to 12 x 29", noKey };
    QTest::newRow("caption bar") << "captionbar_inactive.png" << QSize(7, 31)
                                 << QStringList { "captionbar_inactive.png", "7 x 31 pixels",
                                        "stretched to 29 high", noKey };
    QTest::newRow("bottom edge") << "framebottom_active.png" << QSize(10, 3)
                                 << QStringList { "framebottom_active.png", "10 x 3 pixels",
                                        "stretched to 8 high", noKey };
    QTest::newRow("side edge") << "frameleft_inactive.png" << QSize(9, 40)
                               << QStringList { "frameleft_inactive.png", "9 x 40 pixels",
                                      "stretched to 5 wide, on both side edges", noKey };
    QTest::newRow("bottom corner")
        << "framebottom_right_active.png" << QSize(6, 9)
        << QStringList { "framebottom_right_active.png", "6 x 9 pixels", "own size", noKey };
    QTest::newRow("face") << "captionbutton_press.png" << QSize(21, 20)
                          << QStringList { "captionbutton_press.png", "21 x 20 pixels", "own size",
                                 whiteKey };
    QTest::newRow("glyph never drawn") << "maximize_active_press.png" << QSize(11, 12)
                                       << QStringList { "maximize_active_press.png",
                                              "11 x 12 pixels", "own size, never drawn", whiteKey };
}

void tst_ReviewPictures::sheetCellText()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(QStringList, lines);
    StyleFixture style;
    writeWholeStyle(style);
    if (file.startsWith(QLatin1String("frame_mask")))
        style.writeImage(file, StyleFixture::maskImage(3));
    else
        style.write(file, size, qRgb(1, 2, 3));
    const ContactSheet sheet(style.dirBytes());
    const ContactSheet::Cell* cell = cellOf(sheet, file.toLatin1().constData());
    QVERIFY(cell);
    QCOMPARE(cell->size, size);
    QCOMPARE(cell->picture.size(), size);
    QCOMPARE(ContactSheet::describe(*cell, ContactSheet::kDefaultScale), lines);
}

void tst_ReviewPictures::sheetColourKey()
{
    StyleFixture style;
    writeWholeStyle(style);
    // A bottom-left colour that also lies inside the picture, and an alpha the key ignores.
    QImage corner(12, 29, QImage::Format_ARGB32);
    corner.fill(qRgb(90, 90, 90));
    corner.setPixel(0, 28, qRgba(10, 20, 30, 40));
    corner.setPixel(6, 6, qRgb(10, 20, 30));
    corner.setPixel(7, 7, qRgba(50, 60, 70, 0));
    style.writeImage(QStringLiteral("captionbar_left_inactive.png"), corner);
    style.writeImage(QStringLiteral("captionbar_right_inactive.png"), corner);
    const ContactSheet sheet(style.dirBytes());

    const ContactSheet::Cell* keyed = cellOf(sheet, "captionbar_left_inactive.png");
    QVERIFY(keyed && keyed->key);
    QCOMPARE(*keyed->key, qRgb(10, 20, 30));
    QCOMPARE(
        ContactSheet::describe(*keyed, 4).at(3), QStringLiteral("colour key #0a141e left out"));
    QCOMPARE(qAlpha(keyed->picture.pixel(0, 28)), 0);
    QCOMPARE(qAlpha(keyed->picture.pixel(6, 6)), 0);
    // Every other pixel drawn opaque, whatever alpha the file gave it.
    QCOMPARE(keyed->picture.pixel(7, 7), qRgb(50, 60, 70));
    QCOMPARE(keyed->picture.pixel(3, 3), qRgb(90, 90, 90));

    // The window draws the right corner as read: no key, the file's alpha kept.
    const ContactSheet::Cell* plain = cellOf(sheet, "captionbar_right_inactive.png");
    QVERIFY(plain && !plain->key);
    QCOMPARE(plain->picture.pixel(6, 6), qRgb(10, 20, 30));
    QCOMPARE(qAlpha(plain->picture.pixel(7, 7)), 0);
}

void tst_ReviewPictures::sheetMarksFailedFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("empty"); // present but no picture, else removed
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // "@" stands for the missing-file message
    QTest::newRow("missing frame piece")
        << "captionbar_active.png" << false << int(Status::Failed) << "@";
    QTest::newRow("missing live button face")
        << "captionbutton_over.png" << false << int(Status::Failed) << "@";
    QTest::newRow("unreadable mask")
        << "frame_mask_right.bmp" << true << int(Status::Failed) << "Image format not recognized.";
    // The window never reads these: absent is no error; present, they must be pictures.
    QTest::newRow("absent optional glyph")
        << "close_active_over.png" << false << int(Status::Absent) << QString();
    QTest::newRow("unreadable optional glyph")
        << "restore_active_press.png" << true << int(Status::Failed)
        << "Image format not recognized.";
}

void tst_ReviewPictures::sheetMarksFailedFiles()
{
    QFETCH(QString, file);
    QFETCH(bool, empty);
    QFETCH(int, status);
    QFETCH(QString, message);
    StyleFixture style;
    writeWholeStyle(style);
    if (empty) {
        QFile out(style.path(file));
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    } else {
        style.remove(file);
    }
    if (message == QLatin1String("@"))
        message = missingMessage(style, file);

    const ContactSheet sheet(style.dirBytes());
    const ContactSheet::Cell* cell = cellOf(sheet, file.toLatin1().constData());
    QVERIFY(cell);
    QCOMPARE(int(cell->status), status);
    QCOMPARE(cell->message, message);
    QCOMPARE(sheet.failures(), message.isEmpty() ? QStringList() : QStringList { message });
    for (const ContactSheet::Cell& other : sheet.cells())
        QVERIFY(&other == cell || other.status == Status::Shown);
    // The sheet is still drawn, with the cell in it.
    QVERIFY(!sheet.picture(ContactSheet::kDefaultScale).isNull());
}

void tst_ReviewPictures::sheetLeavesOutLongMagnifiedCopies_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("leftOut");
    QTest::newRow("2048 long") << QSize(256, 8) << 8 << false;
    QTest::newRow("2056 long") << QSize(257, 8) << 8 << true;
    QTest::newRow("tall") << QSize(15, 1500) << 2 << true;
    QTest::newRow("at 1") << QSize(2000, 8) << 1 << false;
}

void tst_ReviewPictures::sheetLeavesOutLongMagnifiedCopies()
{
    QFETCH(QSize, size);
    QFETCH(int, scale);
    QFETCH(bool, leftOut);
    StyleFixture style;
    writeWholeStyle(style);
    style.write(QStringLiteral("framebottom_inactive.png"), size);
    const ContactSheet sheet(style.dirBytes());
    const ContactSheet::Cell* cell = cellOf(sheet, "framebottom_inactive.png");
    QVERIFY(cell);
    QCOMPARE(ContactSheet::magnifiedLeftOut(*cell, scale), leftOut);
    const QStringList lines = ContactSheet::describe(*cell, scale);
    QCOMPARE(lines.size(), leftOut ? 5 : 4);
    if (leftOut)
        QCOMPARE(
            lines.last(), QStringLiteral("%1x copy left out: longer than 2048 pixels").arg(scale));
    // The sheet holds the magnified copy beside the file when there is one, else the file alone.
    const QImage picture = sheet.picture(scale);
    const bool wide = size.width() >= size.height();
    const int along = wide ? picture.width() : picture.height();
    const int longest = std::max(size.width(), size.height());
    if (leftOut)
        QVERIFY(along < longest * scale);
    else
        QVERIFY(along >= longest * (scale + 1));
}

void tst_ReviewPictures::statesEqualTheRender_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("look");
    for (const char* style : { "Luna", "Silver", "Licorice" }) {
        QTest::addRow("%s normal", style) << style << int(State::Normal) << int(Look::Normal);
        QTest::addRow("%s over", style) << style << int(State::Over) << int(Look::Over);
        QTest::addRow("%s press", style) << style << int(State::Press) << int(Look::Press);
    }
}

void tst_ReviewPictures::statesEqualTheRender()
{
    QFETCH(QString, style);
    QFETCH(int, state);
    QFETCH(int, look);
    const QByteArray dir = QFile::encodeName(sampleStyle(style.toLatin1().constData()));
    QVERIFY2(!dir.isEmpty(), "the sample styles are not beside the tests");
    const StatesGrid grid(dir);
    QVERIFY(grid.failures().isEmpty());
    const StatesGrid::Cell& cell = grid.cell(Button::Minimize, State(state));
    QCOMPARE(cell.status, Status::Shown);
    // The focused window's minimize face, 19 x 18, where the panel has it.
    QCOMPARE(cell.rect, QRect(112 + 296, 280 + 5, 19, 18));
    const PanelRender render = renderPanel(dir, Look(look));
    QVERIFY(render.failure.isEmpty());
    QCOMPARE(comparable(cell.picture), comparable(render.picture.copy(cell.rect)));
    // The unfocused window's button, where the inactive window has it.
    QCOMPARE(grid.cell(Button::Minimize, State::Disable).rect, QRect(12 + 296, 12 + 5, 19, 18));
}

void tst_ReviewPictures::statesShowEachButtonsFiles_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("glyph");
    const char* const buttons[] = { "minimize", "restore", "maximize", "close" };
    const char* const states[] = { "normal", "over", "press", "disable" };
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < 4; ++s)
            QTest::addRow("%s %s", buttons[b], states[s])
                << b << s
                << QStringLiteral("captionbutton_%1.png")
                       .arg(QLatin1String(s == 3 ? "normal" : states[s]))
                << QStringLiteral("%1_active_%2.png")
                       .arg(QLatin1String(buttons[b]), QLatin1String(states[s]));
}

void tst_ReviewPictures::statesShowEachButtonsFiles()
{
    QFETCH(int, button);
    QFETCH(int, state);
    QFETCH(QString, face);
    QFETCH(QString, glyph);
    StyleFixture style;
    writeWholeStyle(style);
    const StatesGrid grid(style.dirBytes());
    QVERIFY(grid.failures().isEmpty());
    const StatesGrid::Cell& cell = grid.cell(Button(button), State(state));
    QCOMPARE(cell.status, Status::Shown);
    QCOMPARE(cell.rect.size(), QSize(19, 18));
    // The glyph lies over the face's middle; the face shows at its top-left corner.
    QCOMPARE(cell.picture.pixel(9, 9) | 0xff000000u, colourOfAny(glyph));
    QCOMPARE(cell.picture.pixel(1, 1) | 0xff000000u, colourOfAny(face));
    // Each cell shows its button alone in its state: the cells taken after it are unchanged.
    if (State(state) == State::Over)
        QCOMPARE(
            grid.cell(Button((button + 1) % 4), State::Normal).picture.pixel(1, 1) | 0xff000000u,
            StyleFixture::colourOf(QStringLiteral("captionbutton_normal.png")));
}

void tst_ReviewPictures::statesMarkFailedFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("marked"); // cells as "button state"; "*" every one
    QTest::addColumn<int>("status");
    QTest::newRow("no over face") << "captionbutton_over.png"
                                  << QStringList { "0 1", "1 1", "2 1", "3 1" }
                                  << int(Status::Failed);
    QTest::newRow("no minimize press glyph")
        << "minimize_active_press.png" << QStringList { "0 2" } << int(Status::Failed);
    QTest::newRow("no close over glyph")
        << "close_active_over.png" << QStringList { "3 1" } << int(Status::Absent);
    // The pass stops in the focused window: the unfocused window's cells still stand.
    QTest::newRow("pass stops at the active caption bar")
        << "captionbar_active.png"
        << QStringList { "0 0", "0 1", "0 2", "1 0", "1 1", "1 2", "2 0", "2 1", "2 2", "3 0",
               "3 1", "3 2" }
        << int(Status::Failed);
    QTest::newRow("pass stops at the first file")
        << "frame_mask_left.bmp" << QStringList { "*" } << int(Status::Failed);
}

void tst_ReviewPictures::statesMarkFailedFiles()
{
    QFETCH(QString, file);
    QFETCH(QStringList, marked);
    QFETCH(int, status);
    StyleFixture style;
    writeWholeStyle(style);
    style.remove(file);
    const StatesGrid grid(style.dirBytes());
    const QString message = missingMessage(style, file);
    for (const StatesGrid::Cell& cell : grid.cells()) {
        const QString at = QStringLiteral("%1 %2").arg(int(cell.button)).arg(int(cell.state));
        const bool isMarked = marked.contains(at) || marked.contains(QStringLiteral("*"));
        QVERIFY2(int(cell.status) == (isMarked ? status : int(Status::Shown)), qPrintable(at));
        QCOMPARE(cell.message, isMarked && status == int(Status::Failed) ? message : QString());
        QCOMPARE(cell.picture.isNull(), isMarked);
    }
    QCOMPARE(
        grid.failures(), status == int(Status::Failed) ? QStringList { message } : QStringList());
    QVERIFY(!grid.picture(StatesGrid::kDefaultScale).isNull());
}

void tst_ReviewPictures::statesShowOverlappingButtonsAlone_data()
{
    QTest::addColumn<QString>("wideFace");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("state");
    // Faces wider than the buttons' spacing reach into the next button's cell.
    QTest::newRow("normal faces under a press cell")
        << "captionbutton_normal.png" << int(Button::Restore) << int(State::Press);
    QTest::newRow("normal faces under an over cell")
        << "captionbutton_normal.png" << int(Button::Close) << int(State::Over);
    QTest::newRow("over faces over each other")
        << "captionbutton_over.png" << int(Button::Maximize) << int(State::Over);
}

void tst_ReviewPictures::statesShowOverlappingButtonsAlone()
{
    QFETCH(QString, wideFace);
    QFETCH(int, button);
    QFETCH(int, state);
    StyleFixture style;
    writeWholeStyle(style);
    style.write(wideFace, { 27, 18 });
    const StatesGrid grid(style.dirBytes());
    QVERIFY(grid.failures().isEmpty());
    const StatesGrid::Cell& cell = grid.cell(Button(button), State(state));
    QCOMPARE(cell.status, Status::Shown);

    // The window with that one button in the state and every other one as the pass left it.
    PreviewPanel panel;
    panel.resize(PreviewPanel::kSizeInWindow);
    panel.loadStyle(style.dirBytes());
    const SampleWindowView view = panel.activeView();
    const char* const names[] = { "minimize", "restore", "maximize", "close" };
    const char* const states[] = { "normal", "over", "press" };
    ImageControl* const faces[]
        = { view.buttonMinimize, view.buttonRestore, view.buttonMaximize, view.buttonClose };
    ImageControl* const glyphs[]
        = { view.glyphMinimize, view.glyphRestore, view.glyphMaximize, view.glyphClose };
    faces[button]->loadFromFile(style.dirBytes() + "captionbutton_" + states[state] + ".png");
    glyphs[button]->loadFromFile(
        style.dirBytes() + names[button] + "_active_" + states[state] + ".png");
    QCOMPARE(comparable(cell.picture), comparable(panel.grab(cell.rect).toImage()));
}

void tst_ReviewPictures::sizeGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("smallest") << PreviewPanel::kSmallestWindow;
    QTest::newRow("500 x 300") << QSize(500, 300);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080);
    QTest::newRow("largest") << PreviewPanel::kLargestWindow;
}

void tst_ReviewPictures::sizeGeometry()
{
    QFETCH(QSize, size);
    QCOMPARE(PreviewPanel::kSmallestWindow, QSize(113, 38));
    QCOMPARE(PreviewPanel::kLargestWindow, QSize(3840, 2160));
    StyleFixture style;
    writeWholeStyle(style);
    const int w = size.width();
    const int h = size.height();

    PreviewPanel panel;
    panel.setSampleWindowSize(size);
    panel.loadStyle(style.dirBytes());
    QCOMPARE(panel.size(), QSize(w + 151, 2 * h + 125));
    QCOMPARE(panel.InactiveWindow->geometry(), QRect(12, 12, w, h));
    QCOMPARE(panel.ActiveWindow->geometry(), QRect(112, 12 + h + 19, w, h));
    // The buttons keep their distance from each window's right edge.
    QCOMPARE(panel.InactiveButtonMinimize->pos(), QPoint(296 + w - 393, 5));
    QCOMPARE(panel.InactiveGlyphRestore->pos(), QPoint(320 + w - 393, 8));
    QCOMPARE(panel.ActiveButtonClose->pos(), QPoint(360 + w - 397, 5));
    QCOMPARE(panel.ActiveGlyphClose->pos(), QPoint(363 + w - 397, 7));
    // The pass places the frame at the new size.
    QCOMPARE(panel.captionbar_right_active->pos(), QPoint(w - 12, 0));
    QCOMPARE(panel.captionbar_inactive->geometry(), QRect(12, 0, w - 24, 29));
    QCOMPARE(panel.framebottom_right_inactive->geometry(), QRect(w - 5, h - 8, 5, 8));
    QCOMPARE(panel.framebottom_active->geometry(), QRect(5, h - 8, w - 10, 8));
    QCOMPARE(panel.frameright_active->geometry(), QRect(w - 5, 29, 5, h - 29 - 8));

    // The render composes the same panel, and its corner shows the frame's bottom right.
    const PanelRender render = renderPanel(style.dirBytes(), Look::Normal, size);
    QVERIFY(render.failure.isEmpty());
    QCOMPARE(render.picture.size(), PreviewPanel::panelSizeFor(size));
    const QImage& picture = render.picture;
    QCOMPARE(picture.pixel(112 + w - 3, 31 + 2 * h - 3) | 0xff000000u,
        StyleFixture::colourOf(QStringLiteral("framebottom_right_active.png")));
    QCOMPARE(picture.pixel(12 + w - 3, 12 + h - 3) | 0xff000000u,
        StyleFixture::colourOf(QStringLiteral("framebottom_right_inactive.png")));
}

QTEST_MAIN(tst_ReviewPictures)
#include "tst_reviewpictures.moc"
