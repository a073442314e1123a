// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"
#include "app/ErrorReport.h"
#include "app/uMain.h"
#include "controls/AppLook.h"

#include <QApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <sys/stat.h>

using namespace std::chrono_literals;

// The window started with style directories, watching them, and taking dropped folders.
class tst_WatchWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void styleBoxTakesTheDirs_data();
    void styleBoxTakesTheDirs();
    void noWatchWithoutTheOption();
    void watchedPassReportsInTheStatusLine();
    void watchedPassWaitsForAnOpenBox();
    void watchedPassRefreshesTheBitmapPane();
    void watchFollowsTheStyleBox();
    void drops_data();
    void drops();

private:
    std::unique_ptr<TfrmMain> makeWindow(const QStringList& dirs, bool watch);
    bool show(TfrmMain& frm);

    QStringList m_reports;
    ErrorReport::Presenter m_previous;
    QString m_programDir;
};

namespace {

const QString kLuna = QStringLiteral("/home/Projects/framewright/Themes/Luna/Frame/");
const QString kSilver = QStringLiteral("/home/Projects/framewright/Themes/Silver/Frame/");
const QString kLicorice = QStringLiteral("/home/Projects/framewright/Themes/Licorice/Frame/");

QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int row = 0; row < box->count(); ++row)
        texts << box->itemText(row);
    return texts;
}

QString cannotOpen(const QString& path)
{
    return QStringLiteral("Cannot open file \"%1\". No such file or directory.").arg(path);
}

void writeColour(StyleFixture& style, const QString& name, QRgb colour)
{
    style.write(name, StyleFixture::defaultSize(name), colour);
}

QMimeData* urlsData(const QList<QUrl>& urls)
{
    auto* mime = new QMimeData;
    mime->setUrls(urls);
    return mime;
}

// Sends a drag's enter and, when it was taken, its drop; returns whether the enter was taken.
bool dragOnto(QWidget* target, QMimeData* mime)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(
        at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    // Never a move: the file manager would delete the author's folder.
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

} // namespace

void tst_WatchWindow::initTestCase()
{
    m_previous = ErrorReport::setPresenter([this](const QString& text) { m_reports << text; });
    const QString help = QFINDTESTDATA("../app/help.htm");
    QVERIFY2(!help.isEmpty(), "help.htm of the sources not found");
    m_programDir = QFileInfo(help).absolutePath() + QLatin1Char('/');
}

void tst_WatchWindow::init()
{
    QCoreApplication::processEvents();
    m_reports.clear();
}

void tst_WatchWindow::cleanupTestCase()
{
    ErrorReport::setPresenter(m_previous);
}

std::unique_ptr<TfrmMain> tst_WatchWindow::makeWindow(const QStringList& dirs, bool watch)
{
    StartOptions start;
    start.styleDirs = dirs;
    start.watch = watch;
    start.quietPeriod = 10ms;
    return std::make_unique<TfrmMain>(nullptr, m_programDir, nullptr, start);
}

bool tst_WatchWindow::show(TfrmMain& frm)
{
    frm.show();
    return QTest::qWaitForWindowExposed(&frm);
}

void tst_WatchWindow::styleBoxTakesTheDirs_data()
{
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QStringList>("expected");

    const QString a = QStringLiteral("/tmp/a/"), b = QStringLiteral("/tmp/b/");
    QTest::newRow("none") << QStringList() << QStringList { kLuna, kSilver, kLicorice };
    QTest::newRow("in the order given")
        << QStringList { b, a } << QStringList { b, a, kLuna, kSilver, kLicorice };
    QTest::newRow("equal texts are one item")
        << QStringList { a, b, a } << QStringList { a, b, kLuna, kSilver, kLicorice };
    QTest::newRow("a fixed path moves to the top")
        << QStringList { kLicorice } << QStringList { kLicorice, kLuna, kSilver };
    QTest::newRow("a fixed path after another")
        << QStringList { a, kSilver } << QStringList { a, kSilver, kLuna, kLicorice };
}

void tst_WatchWindow::styleBoxTakesTheDirs()
{
    QFETCH(QStringList, dirs);
    QFETCH(QStringList, expected);
    const auto frm = makeWindow(dirs, false);
    QCOMPARE(items(frm->cboPaths), expected);
    // FormCreate chose item 0 without loading it.
    QCOMPARE(frm->cboPaths->currentIndex(), 0);
    QVERIFY(frm->state().StyleDir.isEmpty());
    for (int row = 0; row < frm->cboPaths->count(); ++row)
        QCOMPARE(frm->cboPaths->view()->sizeHintForRow(row), 17);
    QVERIFY(m_reports.isEmpty());
}

void tst_WatchWindow::noWatchWithoutTheOption()
{
    StyleFixture style;
    style.writeAll();
    const auto frm = makeWindow({ style.dir() }, false);
    QVERIFY(show(*frm));
    QTRY_COMPARE(frm->state().StyleDir, style.dirBytes());
    QCOMPARE(frm->styleWatch(), nullptr);
    QCOMPARE(frm->watchStatus(), nullptr);
    QCOMPARE(frm->findChildren<QFileSystemWatcher*>().size(), 0);
    QCOMPARE(frm->findChildren<QTimer*>().size(), 0);

    const auto watching = makeWindow({ style.dir() }, true);
    QVERIFY(watching->styleWatch());
    QCOMPARE(watching->findChildren<QFileSystemWatcher*>().size(), 1);
    QCOMPARE(watching->findChildren<QTimer*>().size(), 1);
}

void tst_WatchWindow::watchedPassReportsInTheStatusLine()
{
    StyleFixture style;
    style.writeAll();
    const auto frm = makeWindow({ style.dir() }, true);
    QVERIFY(show(*frm));
    QTRY_COMPARE(frm->state().StyleDir, style.dirBytes());
    QLabel* status = frm->watchStatus();
    QVERIFY(status);
    QVERIFY(status->text().isEmpty());

    // A save that breaks one file: the pass runs as far as that file, quietly.
    writeColour(style, QStringLiteral("captionbar_inactive.png"), qRgb(1, 2, 3));
    style.remove(QStringLiteral("restore_active_normal.png"));
    QTRY_COMPARE(status->text(), cannotOpen(style.path("restore_active_normal.png")));
    QVERIFY(status->isVisible());
    QCOMPARE(frm->captionbar_inactive->picture().pixel(5, 5), qRgb(1, 2, 3));
    QVERIFY2(m_reports.isEmpty(), "a watched pass opened a box");

    // Mended: the next pass clears the line.
    style.write(QStringLiteral("restore_active_normal.png"),
        StyleFixture::defaultSize(QStringLiteral("restore_active_normal.png")));
    QTRY_VERIFY(status->text().isEmpty());
    QVERIFY(!status->isVisible());
    QCOMPARE(fileShownBy(frm->ActiveGlyphRestore->picture()), "restore_active_normal.png");

    // A pass the user starts still reports in a box, and clears the line as it starts.
    style.remove(QStringLiteral("frame_mask_left.bmp"));
    QTRY_VERIFY(!status->text().isEmpty());
    frm->cboPaths->setCurrentIndex(1);
    QVERIFY(status->text().isEmpty());
    QCOMPARE(m_reports.size(), 1);
}

void tst_WatchWindow::watchedPassWaitsForAnOpenBox()
{
    StyleFixture style;
    style.writeAll();
    const auto frm = makeWindow({ style.dir() }, true);
    QVERIFY(show(*frm));
    QTRY_COMPARE(frm->state().StyleDir, style.dirBytes());
    QSignalSpy settled(frm->styleWatch(), &StyleWatch::settled);

    QDialog box(frm.get());
    box.setModal(true);
    box.show();
    QTRY_COMPARE(QApplication::activeModalWidget(), &box);
    writeColour(style, QStringLiteral("captionbar_inactive.png"), qRgb(1, 2, 3));
    QTRY_COMPARE(settled.size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(fileShownBy(frm->captionbar_inactive->picture()), "captionbar_inactive.png");

    box.accept();
    QTRY_COMPARE(frm->captionbar_inactive->picture().pixel(5, 5), qRgb(1, 2, 3));
}

void tst_WatchWindow::watchedPassRefreshesTheBitmapPane()
{
    StyleFixture style;
    style.writeAll();
    const auto frm = makeWindow({ style.dir() }, true);
    QVERIFY(show(*frm));
    QTRY_COMPARE(frm->state().StyleDir, style.dirBytes());
    frm->captionbar_inactiveClick();
    QCOMPARE(frm->imgActual->sourcePath(), style.dirBytes() + "captionbar_inactive.png");

    // Another file changing leaves the pane alone; its own file changing shows anew.
    const QSize bigger(40, 20);
    writeColour(style, QStringLiteral("captionbar_active.png"), qRgb(9, 9, 9));
    QTRY_COMPARE(frm->captionbar_active->picture().pixel(5, 5), qRgb(9, 9, 9));
    QCOMPARE(fileShownBy(frm->imgActual->picture()), "captionbar_inactive.png");

    style.write(QStringLiteral("captionbar_inactive.png"), bigger, qRgb(1, 2, 3));
    QTRY_COMPARE(frm->imgActual->picture().pixel(0, 0), qRgb(1, 2, 3));
    QCOMPARE(frm->imgActual->size(), bigger);
    QCOMPARE(frm->imgZoomed->picture().pixel(0, 0), qRgb(1, 2, 3));
    QCOMPARE(frm->imgZoomed->size(), QSize(113, 113));
    QCOMPARE(frm->lblBitmap->text(), QStringLiteral(" captionbar_inactive.png"));
    QCOMPARE(frm->imgActual->sourcePath(), style.dirBytes() + "captionbar_inactive.png");
    QVERIFY(m_reports.isEmpty());
}

void tst_WatchWindow::watchFollowsTheStyleBox()
{
    StyleFixture first(QStringLiteral("First"));
    StyleFixture second(QStringLiteral("Second"));
    first.writeAll();
    second.writeAll();
    const auto frm = makeWindow({ first.dir(), second.dir() }, true);
    QVERIFY(show(*frm));
    QTRY_COMPARE(frm->styleWatch()->directory(), first.dir());
    frm->cboPaths->setCurrentIndex(1);
    QCOMPARE(frm->styleWatch()->directory(), second.dir());
    writeColour(second, QStringLiteral("captionbar_active.png"), qRgb(9, 9, 9));
    QTRY_COMPARE(frm->captionbar_active->picture().pixel(5, 5), qRgb(9, 9, 9));
    QCOMPARE(frm->state().StyleDir, second.dirBytes());
}

void tst_WatchWindow::drops_data()
{
    QTest::addColumn<QString>("what"); // dir, file, remote, text, notUtf8
    QTest::addColumn<QString>("target"); // window, memo
    QTest::addColumn<bool>("taken");

    QTest::newRow("a directory") << "dir"
                                 << "window" << true;
    QTest::newRow("a file inside one") << "file"
                                       << "window" << true;
    QTest::newRow("a directory on the memo") << "dir"
                                             << "memo" << true;
    QTest::newRow("a remote URL") << "remote"
                                  << "window" << false;
    QTest::newRow("a remote URL on the memo") << "remote"
                                              << "memo" << false;
    QTest::newRow("plain text on the memo") << "text"
                                            << "memo" << false;
    QTest::newRow("a name that is not UTF-8") << "notUtf8"
                                              << "window" << false;
}

void tst_WatchWindow::drops()
{
    QFETCH(QString, what);
    QFETCH(QString, target);
    QFETCH(bool, taken);

    StyleFixture style(QStringLiteral("Dropped"));
    style.writeAll();
    const auto frm = makeWindow({}, false);
    QVERIFY(show(*frm));
    QTRY_VERIFY(!m_reports.isEmpty()); // the fixed paths hold no style here
    m_reports.clear();
    const QStringList before = items(frm->cboPaths);
    const QString memoText = frm->Memo->toPlainText();

    std::unique_ptr<QMimeData> mime;
    if (what == QLatin1String("dir"))
        mime.reset(urlsData({ QUrl::fromLocalFile(style.dir().chopped(1)) }));
    else if (what == QLatin1String("file"))
        mime.reset(urlsData({ QUrl::fromLocalFile(style.path("captionbar_active.png")) }));
    else if (what == QLatin1String("remote"))
        mime.reset(urlsData({ QUrl(QStringLiteral("https://example.org/Frame/")) }));
    else if (what == QLatin1String("notUtf8")) {
        // The folder is really there: only its name's bytes refuse it.
        QVERIFY(::mkdir(style.dirBytes() + "\xff\xfe", 0755) == 0);
        mime.reset(urlsData({ QUrl::fromEncoded(
            "file://" + QUrl::toPercentEncoding(style.dir(), "/") + "%FF%FE", QUrl::StrictMode) }));
        QVERIFY(mime->urls().constFirst().isLocalFile());
    } else {
        mime = std::make_unique<QMimeData>();
        mime->setText(style.dir());
    }
    QWidget* onto = target == QLatin1String("memo") ? frm->Memo->viewport()
                                                    : static_cast<QWidget*>(frm.get());
    QCOMPARE(dragOnto(onto, mime.get()), taken);
    QCoreApplication::processEvents();
    QCOMPARE(frm->Memo->toPlainText(), memoText);
    if (!taken) {
        QCOMPARE(items(frm->cboPaths), before);
        QCOMPARE(frm->state().StyleDir, kLuna.toLocal8Bit());
        QVERIFY(m_reports.isEmpty());
        return;
    }
    QCOMPARE(items(frm->cboPaths), QStringList { style.dir() } + before);
    QCOMPARE(frm->cboPaths->currentIndex(), 0);
    QCOMPARE(frm->state().StyleDir, style.dirBytes());
    QCOMPARE(fileShownBy(frm->captionbar_active->picture()), "captionbar_active.png");
    QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join('\n')));

    // Dropped again: still one item, and loaded again.
    frm->cboPaths->setCurrentIndex(2);
    QVERIFY(dragOnto(onto, mime.get()));
    QCOMPARE(items(frm->cboPaths), QStringList { style.dir() } + before);
    QCOMPARE(frm->state().StyleDir, style.dirBytes());
}

int main(int argc, char* argv[])
{
    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();
    tst_WatchWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_watchwindow.moc"
