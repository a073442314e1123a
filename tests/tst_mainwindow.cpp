// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ErrorReport.h"
#include "app/uMain.h"
#include "controls/AppLook.h"
#include "controls/FormSetup.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <memory>

namespace {

const QString kFirstStyle = QStringLiteral("/home/Projects/framewright/Themes/Luna/Frame/");

QString sourceAppDir()
{
    return QDir::cleanPath(
               QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../app"))
        + QLatin1Char('/');
}

QString cannotOpen(const QString& path, const char* reason = "No such file or directory")
{
    return QStringLiteral("Cannot open file \"%1\". %2.").arg(path, QLatin1String(reason));
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The parent as the window description means it: a tab page's parent is its tab control, the
// scroll box's content belongs to the scroll box, the central widget is the window.
QWidget* formParent(const QWidget* widget)
{
    QWidget* parent = widget->parentWidget();
    if (!parent)
        return nullptr;
    if (auto* tabs = qobject_cast<QTabWidget*>(parent->parentWidget()))
        return tabs;
    if (auto* window = qobject_cast<QMainWindow*>(parent->parentWidget());
        window && window->centralWidget() == parent)
        return window;
    for (QWidget* up = parent->parentWidget(); up; up = up->parentWidget())
        if (auto* area = qobject_cast<QAbstractScrollArea*>(up))
            if (qobject_cast<QScrollArea*>(area)
                && static_cast<QScrollArea*>(area)->widget() == parent)
                return area;
    return parent;
}

QString formName(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const QTabBar*>(w))
            continue;
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            return w->objectName();
    }
    return {};
}

struct Control
{
    const char* name;
    const char* kind;
    const char* parent;
};

// In creation order, parent by parent.
const Control kControls[] = {
    { "StatusBar1", "QStatusBar", "frmMain" },
    { "ToolBar1", "ToolBar", "frmMain" },
    { "Panel", "QFrame", "frmMain" },
    { "SpeedButton1", "SpeedButton", "ToolBar1" },
    { "SpeedButton2", "SpeedButton", "ToolBar1" },
    { "SpeedButton3", "SpeedButton", "ToolBar1" },
    { "Shape1", "Shape", "Panel" },
    { "Splitter1", "SplitterBar", "Panel" },
    { "Splitter2", "SplitterBar", "Panel" },
    { "ivObjects", "QListWidget", "Panel" },
    { "Panel1", "QFrame", "Panel" },
    { "PageControl1", "QTabWidget", "Panel" },
    { "PageControl2", "QTabWidget", "Panel" },
    { "Panel3", "QFrame", "Panel" },
    { "cboPaths", "QComboBox", "Panel1" },
    { "Label2", "QLabel", "Panel1" },
    { "TabSheet1", "QWidget", "PageControl1" },
    { "TabSheet2", "QWidget", "PageControl1" },
    { "Memo", "QPlainTextEdit", "TabSheet1" },
    { "Panel5", "QFrame", "TabSheet2" },
    { "ToolBar2", "ToolBar", "Panel5" },
    { "Panel6", "PreviewPanel", "Panel5" },
    { "InactiveWindow", "QFrame", "Panel6" },
    { "ActiveWindow", "QFrame", "Panel6" },
    { "frameleft_inactive", "ImageControl", "InactiveWindow" },
    { "captionbar_inactive", "ImageControl", "InactiveWindow" },
    { "InactiveButtonClose", "ImageControl", "InactiveWindow" },
    { "frameright_inactive", "ImageControl", "InactiveWindow" },
    { "framebottom_inactive", "ImageControl", "InactiveWindow" },
    { "framebottom_left_inactive", "ImageControl", "InactiveWindow" },
    { "framebottom_right_inactive", "ImageControl", "InactiveWindow" },
    { "frame_mask_left", "ImageControl", "InactiveWindow" },
    { "frame_mask_right", "ImageControl", "InactiveWindow" },
    { "captionbar_right_inactive", "ImageControl", "InactiveWindow" },
    { "captionbar_left_inactive", "ImageControl", "InactiveWindow" },
    { "InactiveGlyphClose", "ImageControl", "InactiveWindow" },
    { "InactiveButtonMaximize", "ImageControl", "InactiveWindow" },
    { "InactiveGlyphMaximize", "ImageControl", "InactiveWindow" },
    { "InactiveButtonRestore", "ImageControl", "InactiveWindow" },
    { "InactiveButtonMinimize", "ImageControl", "InactiveWindow" },
    { "InactiveGlyphRestore", "ImageControl", "InactiveWindow" },
    { "InactiveGlyphMinimize", "ImageControl", "InactiveWindow" },
    { "Image9", "ImageControl", "InactiveWindow" },
    { "Label1", "QLabel", "InactiveWindow" },
    { "captionbar_active", "ImageControl", "ActiveWindow" },
    { "ActiveButtonClose", "ImageControl", "ActiveWindow" },
    { "ActiveButtonMaximize", "ImageControl", "ActiveWindow" },
    { "ActiveButtonRestore", "ImageControl", "ActiveWindow" },
    { "ActiveButtonMinimize", "ImageControl", "ActiveWindow" },
    { "captionbar_left_active", "ImageControl", "ActiveWindow" },
    { "frameleft_active", "ImageControl", "ActiveWindow" },
    { "captionbar_right_active", "ImageControl", "ActiveWindow" },
    { "frameright_active", "ImageControl", "ActiveWindow" },
    { "framebottom_left_active", "ImageControl", "ActiveWindow" },
    { "framebottom_active", "ImageControl", "ActiveWindow" },
    { "framebottom_right_active", "ImageControl", "ActiveWindow" },
    { "Image10", "ImageControl", "ActiveWindow" },
    { "ActiveGlyphRestore", "ImageControl", "ActiveWindow" },
    { "ActiveGlyphMinimize", "ImageControl", "ActiveWindow" },
    { "ActiveGlyphMaximize", "ImageControl", "ActiveWindow" },
    { "ActiveGlyphClose", "ImageControl", "ActiveWindow" },
    { "Label3", "QLabel", "ActiveWindow" },
    { "TabSheet3", "QWidget", "PageControl2" },
    { "TreeView", "QTreeWidget", "TabSheet3" },
    { "Panel4", "QFrame", "Panel3" },
    { "Button1", "QPushButton", "Panel3" },
    { "PageControl4", "QTabWidget", "Panel3" },
    { "PageControl3", "QTabWidget", "Panel4" },
    { "TabSheet4", "QWidget", "PageControl3" },
    { "TabSheet5", "QWidget", "PageControl3" },
    { "TextViewer1", "QTextBrowser", "TabSheet4" },
    { "Image8", "ImageControl", "TabSheet5" },
    { "ToolBar3", "ToolBar", "TabSheet5" },
    { "SpeedButton4", "SpeedButton", "ToolBar3" },
    { "SpeedButton5", "SpeedButton", "ToolBar3" },
    { "SpeedButton6", "SpeedButton", "ToolBar3" },
    { "TabSheet6", "QWidget", "PageControl4" },
    { "ToolBar4", "ToolBar", "TabSheet6" },
    { "lblBitmap", "QLabel", "TabSheet6" },
    { "ScrollBox1", "ScrollBox", "TabSheet6" },
    { "ToolButton1", "QToolButton", "ToolBar4" },
    { "ToolButton2", "QToolButton", "ToolBar4" },
    { "ToolButton3", "QToolButton", "ToolBar4" },
    { "imgActual", "ImageControl", "ScrollBox1" },
    { "imgZoomed", "ImageControl", "ScrollBox1" },
    { "Label5", "QLabel", "ScrollBox1" },
    { "Label6", "QLabel", "ScrollBox1" },
};

bool isFormControl(const QObject* object)
{
    for (const Control& c : kControls)
        if (object->objectName() == QLatin1String(c.name))
            return true;
    return false;
}

// Counts the element tree's builds from the moment the tree exists: each build inserts the one
// top-level node again. Hooked through the application so it sees the window's constructor.
class TreeBuildCounter : public QObject
{
public:
    int builds = 0;
    // The window as the first build finds it: which start-up steps had run before it.
    int styleIndexAtBuild = -2;
    bool filesReadBeforeBuild = true;

protected:
    bool eventFilter(QObject* watched, QEvent*) override
    {
        if (m_tree || watched->objectName() != QLatin1String("TreeView"))
            return false;
        if (auto* tree = qobject_cast<QTreeWidget*>(watched)) {
            m_tree = tree;
            connect(tree->model(), &QAbstractItemModel::rowsInserted, this,
                [this, tree](const QModelIndex& parent) {
                    if (parent.isValid() || builds++ > 0)
                        return;
                    QWidget* window = tree->window();
                    styleIndexAtBuild = window->findChild<QComboBox*>("cboPaths")->currentIndex();
                    filesReadBeforeBuild
                        = !window->findChild<QPlainTextEdit*>("Memo")->toPlainText().isEmpty()
                        || !window->findChild<QTextBrowser*>("TextViewer1")
                                ->toPlainText()
                                .isEmpty();
                });
        }
        return false;
    }

private:
    QPointer<QTreeWidget> m_tree;
};

QImage grabWindow(QWidget* window)
{
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor pixelOnScreen(TfrmMain& frm, const QWidget* widget, QPoint at)
{
    return grabWindow(&frm).pixelColor(widget->mapTo(&frm, at));
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void controlTree_data();
    void controlTree();
    void stacking();
    void sampleWindowImages_data();
    void sampleWindowImages();
    void designPictures();
    void captionCornersOwnABitmap();
    void pagesInFront();

    void frame();
    void frameKeepsItsHeightsWithAnyFont();
    void geometry_data();
    void geometry();
    void tabPagesSitInsideTheirTabControl_data();
    void tabPagesSitInsideTheirTabControl();
    void labelsSizeThemselves();
    void button1ShowsOnlyInALowWindow_data();
    void button1ShowsOnlyInALowWindow();
    void shape1IsNeverSeen();

    void coloursOnScreen_data();
    void coloursOnScreen();
    void helpLinksAreBlue();
    void labelTextColours();
    void fonts_data();
    void fonts();
    void defaultFontElsewhere();

    void menu();
    void menuEntriesDoNothing();
    void imageLists();
    void iconViewItems();
    void styleBoxItems();
    void windowIcon();

    void zoomButtonsLatchExclusively();
    void initialFocus();
    void tabWalk();
    void memoAndViewerPassTabOn();
    void buttonsNeverTakeFocus();
    void onlyImgActualShowsAHint();
    void statusBarIsNeverWritten();
    void iconViewItemsCannotBeDragged();

    void startUpTakesTheFirstStyleWithoutLoading();
    void startUpBuildsTheTreeOnce();
    void treeRowsShareOneHeight();
    void firstShowLoadsOnce();
    void firstStyleMissingGivesOneReport();
    void centredOnFirstShow();
    void helpIsRenderedAsHtml();
    void helpLinksLeadWithinThePage();
    void helpIsLaidOutAtOneWidthOnFirstShow();
    void codeShowsLunaLines();
    void programFilesComeFromTheExecutablesDirectory();
    void missingProgramFiles_data();
    void missingProgramFiles();

    void exitEndsTheEventLoop();

private:
    std::unique_ptr<TfrmMain> makeWindow(const QString& programDir = sourceAppDir());
    bool showWindow(TfrmMain& frm);
    TfrmMain& shared();
    bool resizeShared(QSize size);

    QStringList m_reports;
    ErrorReport::Presenter m_previous;
    std::unique_ptr<TfrmMain> m_shared;
};

std::unique_ptr<TfrmMain> tst_MainWindow::makeWindow(const QString& programDir)
{
    return std::make_unique<TfrmMain>(nullptr, programDir);
}

bool tst_MainWindow::showWindow(TfrmMain& frm)
{
    frm.show();
    if (!QTest::qWaitForWindowExposed(&frm))
        return false;
    frm.activateWindow();
    QApplication::setActiveWindow(&frm);
    return QTest::qWaitForWindowActive(&frm);
}

TfrmMain& tst_MainWindow::shared()
{
    if (!m_shared) {
        m_shared = makeWindow();
        showWindow(*m_shared);
    }
    return *m_shared;
}

bool tst_MainWindow::resizeShared(QSize size)
{
    TfrmMain& frm = shared();
    frm.resize(size);
    return QTest::qWaitFor(
        [&] { return frm.size() == size && frm.Panel->height() == size.height() - 73; });
}

void tst_MainWindow::initTestCase()
{
    m_previous = ErrorReport::setPresenter([this](const QString& text) { m_reports << text; });
    QVERIFY2(
        QFileInfo::exists(sourceAppDir() + QStringLiteral("help.htm")), qPrintable(sourceAppDir()));
}

void tst_MainWindow::init()
{
    QCoreApplication::processEvents();
    m_reports.clear();
}

void tst_MainWindow::cleanupTestCase()
{
    ErrorReport::setPresenter(m_previous);
}

void tst_MainWindow::controlTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("parent");
    for (const Control& c : kControls)
        QTest::newRow(c.name) << c.name << c.kind << c.parent;
}

void tst_MainWindow::controlTree()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, parent);

    const auto frm = makeWindow();
    auto* widget = frm->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
    QCOMPARE(formParent(widget)->objectName(), parent);
    // One member per control, under its own name.
    QCOMPARE(frm->property("objectName").toString(), QStringLiteral("frmMain"));
}

void tst_MainWindow::stacking()
{
    const auto frm = makeWindow();
    QHash<QString, QStringList> created;
    QStringList parents;
    for (const Control& c : kControls) {
        if (!created.contains(QLatin1String(c.parent)))
            parents << QLatin1String(c.parent);
        created[QLatin1String(c.parent)] << QLatin1String(c.name);
    }
    for (const QString& parentName : std::as_const(parents)) {
        QWidget* parent = parentName == QLatin1String("frmMain")
            ? frm->centralWidget()
            : frm->findChild<QWidget*>(parentName);
        QVERIFY(parent);
        if (qobject_cast<QTabWidget*>(parent))
            continue;
        if (auto* box = qobject_cast<QScrollArea*>(parent))
            parent = box->widget();
        // Graphic children below all others; each group keeps creation order.
        QStringList graphic, others;
        for (const QString& name : created.value(parentName)) {
            auto* child = frm->findChild<QWidget*>(name);
            (FormSetup::isGraphic(child) ? graphic : others) << name;
        }
        QStringList actual;
        for (const QObject* child : parent->children())
            if (child->isWidgetType() && isFormControl(child))
                actual << child->objectName();
        QCOMPARE(actual, graphic + others);
    }
    // Glyphs above their faces, the caption labels above every image.
    QCOMPARE(frm->ActiveWindow->childAt(306, 13), frm->ActiveGlyphMinimize);
    QCOMPARE(frm->ActiveWindow->childAt(297, 6), frm->ActiveButtonMinimize);
    QCOMPARE(frm->InactiveWindow->childAt(70, 8), frm->Label1);
}

void tst_MainWindow::sampleWindowImages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("visible");

    struct Row
    {
        const char* name;
        QRect geometry;
        bool autoSize;
        bool transparent;
        bool visible;
    };
    const Row rows[] = {
        { "frameleft_inactive", { 4, 120, 5, 31 }, false, false, true },
        { "captionbar_inactive", { 88, 4, 65, 25 }, false, false, true },
        { "InactiveButtonClose", { 360, 5, 19, 18 }, true, true, true },
        { "frameright_inactive", { 268, 108, 5, 31 }, false, false, true },
        { "framebottom_inactive", { 44, 160, 15, 8 }, false, false, true },
        { "framebottom_left_inactive", { 28, 152, 5, 8 }, true, false, true },
        { "framebottom_right_inactive", { 248, 156, 5, 8 }, true, false, true },
        { "frame_mask_left", { 28, 36, 12, 29 }, true, false, false },
        { "frame_mask_right", { 224, 36, 12, 29 }, true, false, false },
        { "captionbar_right_inactive", { 237, 40, 12, 29 }, true, false, true },
        { "captionbar_left_inactive", { 13, 32, 12, 29 }, true, true, true },
        { "InactiveGlyphClose", { 363, 7, 13, 13 }, true, true, true },
        { "InactiveButtonMaximize", { 339, 5, 19, 18 }, true, true, true },
        { "InactiveGlyphMaximize", { 342, 7, 13, 13 }, true, true, true },
        { "InactiveButtonRestore", { 317, 5, 19, 18 }, true, true, true },
        { "InactiveButtonMinimize", { 296, 5, 19, 18 }, true, true, true },
        { "InactiveGlyphRestore", { 320, 8, 13, 13 }, true, true, true },
        { "InactiveGlyphMinimize", { 300, 7, 13, 13 }, true, true, true },
        { "Image9", { 10, 5, 16, 16 }, true, true, true },
        { "captionbar_active", { 220, 4, 65, 25 }, false, false, true },
        { "ActiveButtonClose", { 360, 5, 19, 18 }, true, true, true },
        { "ActiveButtonMaximize", { 339, 5, 19, 18 }, true, true, true },
        { "ActiveButtonRestore", { 317, 5, 19, 18 }, true, true, true },
        { "ActiveButtonMinimize", { 296, 5, 19, 18 }, true, true, true },
        { "captionbar_left_active", { 9, 20, 12, 29 }, true, true, true },
        { "frameleft_active", { 8, 120, 5, 31 }, false, false, true },
        { "captionbar_right_active", { 237, 40, 12, 29 }, true, false, true },
        { "frameright_active", { 268, 108, 5, 31 }, false, false, true },
        { "framebottom_left_active", { 28, 152, 5, 8 }, true, false, true },
        { "framebottom_active", { 44, 160, 15, 8 }, false, false, true },
        { "framebottom_right_active", { 248, 156, 5, 8 }, true, false, true },
        { "Image10", { 10, 5, 16, 16 }, true, true, true },
        { "ActiveGlyphRestore", { 320, 8, 13, 13 }, true, true, true },
        { "ActiveGlyphMinimize", { 300, 7, 13, 13 }, true, true, true },
        { "ActiveGlyphMaximize", { 342, 7, 13, 13 }, true, true, true },
        { "ActiveGlyphClose", { 363, 7, 13, 13 }, true, true, true },
        // The bitmap pane and the Zoom page.
        { "imgActual", { 36, 24, 25, 25 }, true, false, true },
        { "imgZoomed", { 36, 68, 113, 113 }, false, false, true },
    };
    for (const Row& r : rows) {
        // Stretch is the other sizing: every image but the auto-sized ones, and imgActual has both.
        const bool stretch = !r.autoSize || QLatin1String(r.name) == QLatin1String("imgActual");
        QTest::newRow(r.name) << r.name << r.geometry << r.autoSize << stretch << r.transparent
                              << r.visible;
    }
}

void tst_MainWindow::sampleWindowImages()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, autoSize);
    QFETCH(bool, stretch);
    QFETCH(bool, transparent);
    QFETCH(bool, visible);

    const auto frm = makeWindow();
    auto* image = frm->findChild<ImageControl*>(name);
    QVERIFY(image);
    QCOMPARE(image->geometry(), geometry);
    QCOMPARE(image->autoSize(), autoSize);
    QCOMPARE(image->stretch(), stretch);
    QCOMPARE(image->transparent(), transparent);
    QCOMPARE(image->isVisibleTo(image->parentWidget()), visible);
    QVERIFY(image->sourcePath().isEmpty());
    QCOMPARE(image->toolTip().isEmpty(), name != QLatin1String("imgActual"));
}

void tst_MainWindow::designPictures()
{
    const auto frm = makeWindow();
    struct Piece
    {
        const char* inactive;
        const char* active;
        QSize size;
    };
    const Piece pieces[] = {
        { "captionbar_inactive", "captionbar_active", { 42, 29 } },
        { "captionbar_left_inactive", "captionbar_left_active", { 12, 29 } },
        { "captionbar_right_inactive", "captionbar_right_active", { 12, 29 } },
        { "frameleft_inactive", "frameleft_active", { 5, 31 } },
        { "frameright_inactive", "frameright_active", { 5, 31 } },
        { "framebottom_inactive", "framebottom_active", { 15, 8 } },
        { "framebottom_left_inactive", "framebottom_left_active", { 5, 8 } },
        { "framebottom_right_inactive", "framebottom_right_active", { 5, 8 } },
        { "InactiveButtonClose", "ActiveButtonClose", { 19, 18 } },
        { "InactiveButtonMaximize", "ActiveButtonMaximize", { 19, 18 } },
        { "InactiveButtonRestore", "ActiveButtonRestore", { 19, 18 } },
        { "InactiveButtonMinimize", "ActiveButtonMinimize", { 19, 18 } },
        { "InactiveGlyphClose", "ActiveGlyphClose", { 13, 13 } },
        { "InactiveGlyphMaximize", "ActiveGlyphMaximize", { 13, 13 } },
        { "InactiveGlyphRestore", "ActiveGlyphRestore", { 13, 13 } },
        { "InactiveGlyphMinimize", "ActiveGlyphMinimize", { 13, 13 } },
        { "Image9", "Image10", { 16, 16 } },
        { "frame_mask_left", "frame_mask_left", { 12, 29 } },
        { "frame_mask_right", "frame_mask_right", { 12, 29 } },
    };
    for (const Piece& p : pieces) {
        const QImage inactive = frm->findChild<ImageControl*>(p.inactive)->picture();
        const QImage active = frm->findChild<ImageControl*>(p.active)->picture();
        QVERIFY2(!inactive.isNull(), p.inactive);
        QCOMPARE(inactive.size(), p.size);
        QCOMPARE(inactive.convertToFormat(QImage::Format_RGB32),
            active.convertToFormat(QImage::Format_RGB32));
    }
    // What the pictures show, where the window relies on it.
    QCOMPARE(frm->captionbar_inactive->picture().pixelColor(20, 10), QColor(0x4F, 0x88, 0xD6));
    const QImage face = frm->ActiveButtonMinimize->picture();
    for (QPoint corner : { QPoint(0, 0), QPoint(18, 0), QPoint(0, 17), QPoint(18, 17) })
        QCOMPARE(face.pixelColor(corner), QColor(Qt::white));
    const QImage glyph = frm->ActiveGlyphMinimize->picture();
    QCOMPARE(glyph.pixelColor(0, 12), QColor(Qt::white));
    QVERIFY(glyph.convertToFormat(QImage::Format_RGB32).allGray() == false);
    QCOMPARE(frm->Image9->picture().pixelColor(0, 15), QColor(0xFF, 0x00, 0xFF));
    for (const char* mask : { "frame_mask_left", "frame_mask_right" }) {
        const QImage bits
            = frm->findChild<ImageControl*>(mask)->picture().convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> colours;
        for (int y = 0; y < bits.height(); ++y)
            for (int x = 0; x < bits.width(); ++x)
                colours.insert(bits.pixel(x, y) & 0xffffff);
        QCOMPARE(colours, (QSet<QRgb> { 0x000000, 0xffffff }));
    }
}

void tst_MainWindow::captionCornersOwnABitmap()
{
    const auto frm = makeWindow();
    for (ImageControl* corner : { frm->captionbar_left_inactive, frm->captionbar_right_inactive,
             frm->captionbar_left_active, frm->captionbar_right_active }) {
        QCOMPARE(corner->picture().size(), QSize(12, 29));
        QCOMPARE(corner->size(), QSize(12, 29));
    }
}

void tst_MainWindow::pagesInFront()
{
    const auto frm = makeWindow();
    QCOMPARE(frm->PageControl1->currentWidget(), frm->TabSheet2);
    QCOMPARE(frm->PageControl2->currentWidget(), frm->TabSheet3);
    QCOMPARE(frm->PageControl3->currentWidget(), frm->TabSheet4);
    QCOMPARE(frm->PageControl4->currentWidget(), frm->TabSheet6);
    const QStringList captions = { frm->PageControl1->tabText(0), frm->PageControl1->tabText(1),
        frm->PageControl2->tabText(0), frm->PageControl3->tabText(0), frm->PageControl3->tabText(1),
        frm->PageControl4->tabText(0) };
    QCOMPARE(captions, (QStringList { "Code", "Preview", "Explorer", "Help", "Zoom", "Bitmap" }));
    QCOMPARE(frm->PageControl1->count() + frm->PageControl2->count() + frm->PageControl3->count()
            + frm->PageControl4->count(),
        6);
    QVERIFY(frm->SpeedButton4->isChecked());
    QCOMPARE(frm->lblBitmap->text(), QStringLiteral("lblBitmap"));
    QVERIFY(frm->Image8->picture().isNull());
    QVERIFY(frm->imgActual->picture().isNull());
    QVERIFY(frm->imgZoomed->picture().isNull());
}

void tst_MainWindow::frame()
{
    TfrmMain& frm = shared();
    QCOMPARE(frm.windowTitle(), QStringLiteral("Framewright"));
    QCOMPARE(frm.size(), QSize(1152, 770));
    QCOMPARE(frm.menuBar(), frm.MainMenu1);
    QCOMPARE(frm.MainMenu1->geometry(), QRect(0, 0, 1152, 25));
    QVERIFY(!frm.MainMenu1->isNativeMenuBar());
    QCOMPARE(frm.centralWidget()->geometry(), QRect(0, 25, 1152, 745));
    QVERIFY(frm.findChildren<QToolBar*>().isEmpty());
    QCOMPARE(frm.findChildren<QStatusBar*>(), QList<QStatusBar*> { frm.StatusBar1 });
    QVERIFY(frm.StatusBar1->isSizeGripEnabled());
    QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    // main() started with QT_SCALE_FACTOR=2 in the environment; the layout stays in pixels.
    QCOMPARE(frm.devicePixelRatioF(), 1.0);
    QCOMPARE(grabWindow(&frm).size(), QSize(1152, 770));
    QVERIFY(frm.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(frm.windowFlags() & Qt::WindowMaximizeButtonHint);
}

void tst_MainWindow::frameKeepsItsHeightsWithAnyFont()
{
    const QFont before = QApplication::font();
    QFont large = before;
    large.setPixelSize(30);
    QApplication::setFont(large);
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    QApplication::setFont(before);
    QCOMPARE(frm->size(), QSize(1152, 770));
    QCOMPARE(frm->MainMenu1->height(), 25);
    QCOMPARE(frm->ToolBar1->geometry(), QRect(0, 0, 1152, 29));
    QCOMPARE(frm->StatusBar1->geometry(), QRect(0, 726, 1152, 19));
    QCOMPARE(frm->Panel->geometry(), QRect(0, 29, 1152, 697));
}

void tst_MainWindow::geometry_data()
{
    QTest::addColumn<QSize>("windowSize");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");

    struct Row
    {
        const char* name;
        QRect stored;
    };
    const Row stored[] = {
        { "ToolBar1", { 0, 0, 1152, 29 } },
        { "Panel", { 0, 29, 1152, 697 } },
        { "StatusBar1", { 0, 726, 1152, 19 } },
        { "SpeedButton1", { 1, 4, 24, 24 } },
        { "SpeedButton2", { 25, 4, 24, 24 } },
        { "SpeedButton3", { 49, 4, 24, 24 } },
        { "Shape1", { 760, 272, 45, 17 } },
        { "Splitter1", { 309, 29, 4, 668 } },
        { "Splitter2", { 865, 29, 4, 668 } },
        { "ivObjects", { 0, 29, 69, 668 } },
        { "Panel1", { 0, 0, 1152, 29 } },
        { "PageControl1", { 313, 29, 552, 668 } },
        { "PageControl2", { 69, 29, 240, 668 } },
        { "Panel3", { 869, 29, 283, 668 } },
        { "cboPaths", { 40, 0, 1109, 23 } },
        { "InactiveWindow", { 12, 12, 393, 249 } },
        { "ActiveWindow", { 112, 280, 397, 237 } },
        { "Panel4", { 0, 439, 283, 229 } },
        { "Button1", { 226, 340, 89, 29 } },
        { "PageControl4", { 0, 0, 283, 439 } },
        { "PageControl3", { 0, 0, 283, 229 } },
        { "SpeedButton4", { 1, 4, 28, 22 } },
        { "SpeedButton5", { 29, 4, 28, 22 } },
        { "SpeedButton6", { 57, 4, 28, 22 } },
        { "ToolButton1", { 1, 4, 23, 22 } },
        { "ToolButton2", { 24, 4, 23, 22 } },
        { "ToolButton3", { 47, 4, 23, 22 } },
        { "imgActual", { 36, 24, 25, 25 } },
        { "imgZoomed", { 36, 68, 113, 113 } },
        { "Label5", { 8, 28, 18, 15 } },
        { "Label6", { 8, 68, 18, 15 } },
    };
    for (const Row& r : stored)
        QTest::addRow("stored: %s", r.name) << QSize(1152, 770) << r.name << r.stored;

    const Row wider[] = {
        { "ToolBar1", { 0, 0, 1252, 29 } },
        { "Panel", { 0, 29, 1252, 697 } },
        { "StatusBar1", { 0, 726, 1252, 19 } },
        { "Panel1", { 0, 0, 1252, 29 } },
        { "cboPaths", { 40, 0, 1209, 23 } },
        { "ivObjects", { 0, 29, 69, 668 } },
        { "PageControl2", { 69, 29, 240, 668 } },
        { "Splitter1", { 309, 29, 4, 668 } },
        { "PageControl1", { 313, 29, 552, 668 } },
        { "Splitter2", { 865, 29, 4, 668 } },
        { "Panel3", { 869, 29, 383, 668 } },
        { "Panel4", { 0, 439, 383, 229 } },
        { "PageControl4", { 0, 0, 383, 439 } },
        { "Button1", { 226, 340, 89, 29 } },
        { "InactiveWindow", { 12, 12, 393, 249 } },
        { "ActiveWindow", { 112, 280, 397, 237 } },
    };
    for (const Row& r : wider)
        QTest::addRow("100 wider: %s", r.name) << QSize(1252, 770) << r.name << r.stored;

    const Row taller[] = {
        { "Panel", { 0, 29, 1152, 797 } },
        { "StatusBar1", { 0, 826, 1152, 19 } },
        { "cboPaths", { 40, 0, 1109, 23 } },
        { "ivObjects", { 0, 29, 69, 768 } },
        { "PageControl2", { 69, 29, 240, 768 } },
        { "Splitter1", { 309, 29, 4, 768 } },
        { "PageControl1", { 313, 29, 552, 768 } },
        { "Splitter2", { 865, 29, 4, 768 } },
        { "Panel3", { 869, 29, 283, 768 } },
        { "Panel4", { 0, 539, 283, 229 } },
        { "PageControl4", { 0, 0, 283, 539 } },
        { "Button1", { 226, 340, 89, 29 } },
        { "InactiveWindow", { 12, 12, 393, 249 } },
        { "ActiveWindow", { 112, 280, 397, 237 } },
    };
    for (const Row& r : taller)
        QTest::addRow("100 taller: %s", r.name) << QSize(1152, 870) << r.name << r.stored;

    const Row lower[] = {
        { "Panel", { 0, 29, 1152, 577 } },
        { "StatusBar1", { 0, 606, 1152, 19 } },
        { "Panel3", { 869, 29, 283, 548 } },
        { "Panel4", { 0, 319, 283, 229 } },
        { "PageControl4", { 0, 0, 283, 319 } },
        { "InactiveWindow", { 12, 12, 393, 249 } },
        { "ActiveWindow", { 112, 280, 397, 237 } },
    };
    for (const Row& r : lower)
        QTest::addRow("650 high: %s", r.name) << QSize(1152, 650) << r.name << r.stored;
}

void tst_MainWindow::geometry()
{
    QFETCH(QSize, windowSize);
    QFETCH(QString, name);
    QFETCH(QRect, expected);

    QVERIFY(resizeShared(windowSize));
    auto* widget = shared().findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), expected);
}

void tst_MainWindow::tabPagesSitInsideTheirTabControl_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("fill");
    QTest::addColumn<QString>("layout");

    // The page's interior is the toolkit's: its contents are checked against the page.
    QTest::newRow("Code") << "TabSheet1" << QStringList { "Memo" } << "";
    QTest::newRow("Preview") << "TabSheet2" << QStringList { "Panel5" } << "";
    QTest::newRow("Explorer") << "TabSheet3" << QStringList { "TreeView" } << "";
    QTest::newRow("Help") << "TabSheet4" << QStringList { "TextViewer1" } << "";
    QTest::newRow("Zoom") << "TabSheet5" << QStringList {} << "zoom";
    QTest::newRow("Bitmap") << "TabSheet6" << QStringList {} << "bitmap";
}

void tst_MainWindow::tabPagesSitInsideTheirTabControl()
{
    QFETCH(QString, page);
    QFETCH(QStringList, fill);
    QFETCH(QString, layout);

    QVERIFY(resizeShared(QSize(1152, 770)));
    TfrmMain& frm = shared();
    auto* sheet = frm.findChild<QWidget*>(page);
    auto* tabs = qobject_cast<QTabWidget*>(formParent(sheet));
    QVERIFY(tabs);
    const int index = tabs->currentIndex();
    tabs->setCurrentWidget(sheet);
    const QRect inTabs(sheet->mapTo(tabs, QPoint(0, 0)), sheet->size());
    QVERIFY2(qAbs(tabs->width() - inTabs.width() - 8) <= 6, qPrintable(page));
    QVERIFY2(qAbs(tabs->height() - inTabs.height() - 30) <= 8, qPrintable(page));
    QVERIFY(tabs->rect().contains(inTabs));

    const QSize s = sheet->size();
    for (const QString& name : std::as_const(fill))
        QCOMPARE(frm.findChild<QWidget*>(name)->geometry(), QRect(QPoint(0, 0), s));
    if (page == QLatin1String("TabSheet2")) {
        QCOMPARE(frm.ToolBar2->geometry(), QRect(0, 0, s.width(), 29));
        QCOMPARE(frm.Panel6->geometry(), QRect(0, 29, s.width(), s.height() - 29));
    }
    if (layout == QLatin1String("zoom")) {
        QCOMPARE(frm.ToolBar3->geometry(), QRect(0, 0, s.width(), 29));
        QCOMPARE(frm.Image8->geometry(), QRect(0, 29, s.width(), s.height() - 29));
    }
    if (layout == QLatin1String("bitmap")) {
        QCOMPARE(frm.ToolBar4->geometry(), QRect(0, 0, s.width(), 29));
        QCOMPARE(frm.lblBitmap->geometry(), QRect(0, 29, s.width(), 22));
        QCOMPARE(frm.ScrollBox1->geometry(), QRect(0, 51, s.width(), s.height() - 51));
        // The content measures 149 x 181 and fits: no scroll bars at start.
        QCOMPARE(frm.ScrollBox1->widget()->size(), QSize(149, 181));
        QCOMPARE(frm.ScrollBox1->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(frm.ScrollBox1->verticalScrollBar()->maximum(), 0);
    }
    tabs->setCurrentIndex(index);
}

void tst_MainWindow::labelsSizeThemselves()
{
    TfrmMain& frm = shared();
    QCOMPARE(frm.Label2->pos(), QPoint(4, 4));
    QCOMPARE(frm.Label2->size(), frm.Label2->sizeHint());
    for (QLabel* label : { frm.Label1, frm.Label3 }) {
        QCOMPARE(label->pos(), QPoint(64, 4));
        QCOMPARE(label->size(), label->sizeHint());
        QVERIFY(!label->autoFillBackground());
    }
    QCOMPARE(frm.Label1->text(), QStringLiteral("Label1"));
    QCOMPARE(frm.Label3->text(), QStringLiteral("Label3"));
    QCOMPARE(frm.Label2->text(), QStringLiteral("Style:"));
    QCOMPARE(frm.Label5->text(), QStringLiteral("x 1"));
    QCOMPARE(frm.Label6->text(), QStringLiteral("x 4"));
    QCOMPARE(frm.Button1->text(), QStringLiteral("Button1"));
    QCOMPARE(frm.SpeedButton4->text(), QStringLiteral("x 1"));
    QCOMPARE(frm.SpeedButton5->text(), QStringLiteral("x 2"));
    QCOMPARE(frm.SpeedButton6->text(), QStringLiteral("x 3"));
    for (QToolButton* b : { frm.ToolButton1, frm.ToolButton2, frm.ToolButton3 }) {
        QVERIFY(b->text().isEmpty());
        QVERIFY(b->icon().isNull());
    }
    for (SpeedButton* b : { frm.SpeedButton1, frm.SpeedButton2, frm.SpeedButton3 }) {
        QVERIFY(b->text().isEmpty());
        QVERIFY(!b->picture().isNull());
    }
    QCOMPARE(frm.SpeedButton1->picture().size(), QSize(16, 16));
    QCOMPARE(frm.SpeedButton2->picture().size(), QSize(16, 16));
    QCOMPARE(frm.SpeedButton3->picture().size(), QSize(18, 18));
}

void tst_MainWindow::button1ShowsOnlyInALowWindow_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("probeY");
    QTest::addColumn<bool>("shows");

    QTest::newRow("stored size") << 770 << 354 << false;
    QTest::newRow("700 high: covered to its last row") << 700 << 368 << false;
    QTest::newRow("699 high: its last row shows") << 699 << 368 << true;
    QTest::newRow("650 high") << 650 << 354 << true;
}

void tst_MainWindow::button1ShowsOnlyInALowWindow()
{
    QFETCH(int, height);
    QFETCH(int, probeY);
    QFETCH(bool, shows);

    QVERIFY(resizeShared(QSize(1152, height)));
    TfrmMain& frm = shared();
    const QPoint probe(254, probeY);
    QWidget* top = frm.Panel3->childAt(probe);
    QCOMPARE(top == frm.Button1, shows);
    if (!shows)
        QVERIFY(frm.PageControl4->isAncestorOf(top) || top == frm.PageControl4);
    if (shows) {
        // Drawn over the Help/Zoom pages, and clipped at the column's right edge.
        QVERIFY(frm.Panel4->geometry().contains(probe));
        QCOMPARE(frm.Panel3->childAt(QPoint(282, probeY)), frm.Button1);
        const QImage window = grabWindow(&frm);
        const QImage button = frm.Button1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint inButton = probe - frm.Button1->pos();
        QCOMPARE(window.pixel(frm.Panel3->mapTo(&frm, probe)), button.pixel(inButton));
    }
}

void tst_MainWindow::shape1IsNeverSeen()
{
    QVERIFY(resizeShared(QSize(1152, 770)));
    TfrmMain& frm = shared();
    const QRect shape = frm.Shape1->geometry();
    for (QPoint p : { shape.topLeft(), shape.center(), shape.bottomRight() }) {
        QWidget* top = frm.Panel->childAt(p);
        QVERIFY(top == frm.PageControl1 || frm.PageControl1->isAncestorOf(top));
    }
    QCOMPARE(frm.Shape1->brushBgr(), 13158600);
}

void tst_MainWindow::coloursOnScreen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("page");

    const QColor window(0xEB, 0xEA, 0xDB);
    QTest::newRow("window, behind the tool bar")
        << "ToolBar1" << QPoint(600, 14) << window << QString();
    QTest::newRow("menu bar") << "MainMenu1" << QPoint(1000, 12) << window << QString();
    QTest::newRow("status bar") << "StatusBar1" << QPoint(600, 9) << window << QString();
    QTest::newRow("style row below the style box")
        << "Panel1" << QPoint(600, 26) << window << QString();
    QTest::newRow("preview tool bar") << "ToolBar2" << QPoint(300, 14) << window << QString();
    QTest::newRow("icon view") << "ivObjects" << QPoint(34, 600) << QColor(Qt::white) << QString();
    QTest::newRow("sample window backdrop")
        << "Panel6" << QPoint(530, 300) << QColor(0x51, 0x68, 0x6A) << QString();
    QTest::newRow("inactive sample window")
        << "InactiveWindow" << QPoint(200, 200) << QColor(0xCE, 0xCE, 0xCE) << QString();
    QTest::newRow("active sample window")
        << "ActiveWindow" << QPoint(200, 200) << QColor(Qt::white) << QString();
    QTest::newRow("scroll box") << "ScrollBox1" << QPoint(200, 300) << QColor(Qt::white)
                                << QString();
    QTest::newRow("behind the zoom legends")
        << "ScrollBox1" << QPoint(4, 4) << QColor(Qt::white) << QString();
    QTest::newRow("bitmap title") << "lblBitmap" << QPoint(260, 11)
                                  << QApplication::palette().color(
                                         QPalette::Disabled, QPalette::WindowText)
                                  << QString();
    // Views and editors keep the toolkit's white; the window's colour does not reach them.
    QTest::newRow("element tree") << "TreeView" << QPoint(200, 8) << QColor(Qt::white) << "";
    QTest::newRow("help viewer") << "TextViewer1" << QPoint(3, 3) << QColor(Qt::white) << "";
    QTest::newRow("code editor") << "Memo" << QPoint(500, 600) << QColor(Qt::white) << "TabSheet1";
}

void tst_MainWindow::coloursOnScreen()
{
    QFETCH(QString, name);
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);
    QFETCH(QString, page);

    QVERIFY(resizeShared(QSize(1152, 770)));
    TfrmMain& frm = shared();
    auto* widget = frm.findChild<QWidget*>(name);
    QVERIFY(widget);
    QTabWidget* tabs = nullptr;
    int shown = -1;
    if (!page.isEmpty()) {
        QWidget* sheet = frm.findChild<QWidget*>(page);
        tabs = qobject_cast<QTabWidget*>(formParent(sheet));
        shown = tabs->currentIndex();
        tabs->setCurrentWidget(sheet);
    }
    const QColor seen = pixelOnScreen(frm, widget, at);
    if (tabs)
        tabs->setCurrentIndex(shown);
    QCOMPARE(seen.rgb(), colour.rgb());
}

void tst_MainWindow::helpLinksAreBlue()
{
    TfrmMain& frm = shared();
    const QImage help = frm.TextViewer1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int blue = 0;
    int black = 0;
    for (int y = 0; y < help.height(); ++y)
        for (int x = 0; x < help.width(); ++x) {
            const QRgb p = help.pixel(x, y) & 0xffffff;
            blue += p == 0x0000ff;
            black += p == 0x000000;
        }
    QVERIFY2(blue > 20, "no link drawn in #0000FF");
    QVERIFY2(black > 20, "no body text drawn in black");
    // The link format itself: blue and underlined.
    QTextCursor cursor(frm.TextViewer1->document());
    bool sawLink = false;
    for (QTextBlock block = frm.TextViewer1->document()->begin(); block.isValid() && !sawLink;
         block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor() && !format.anchorHref().isEmpty()) {
                sawLink = true;
                QCOMPARE(format.foreground().color(), QColor(0, 0, 0xff));
                QVERIFY(format.fontUnderline());
                break;
            }
        }
    QVERIFY(sawLink);
}

void tst_MainWindow::labelTextColours()
{
    TfrmMain& frm = shared();
    const QImage title = frm.lblBitmap->grab().toImage().convertToFormat(QImage::Format_RGB32);
    bool white = false;
    for (int y = 0; y < title.height() && !white; ++y)
        for (int x = 0; x < 80 && !white; ++x)
            white = (title.pixel(x, y) & 0xffffff) == 0xffffff;
    QVERIFY2(white, "the bitmap title is not written in white");
    for (QLabel* label : { frm.Label1, frm.Label3, frm.Label5, frm.Label6 })
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    for (SpeedButton* b : { frm.SpeedButton4, frm.SpeedButton5, frm.SpeedButton6 })
        QCOMPARE(b->palette().color(QPalette::ButtonText), QColor(Qt::black));
    QCOMPARE(frm.Panel3->palette().color(QPalette::Window), QColor(0xEB, 0xEA, 0xDB));
    QCOMPARE(frm.palette().color(QPalette::Window), QColor(0xEB, 0xEA, 0xDB));
}

void tst_MainWindow::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");

    QTest::newRow("Label1") << "Label1" << 14 << true;
    QTest::newRow("Label3") << "Label3" << 14 << true;
    QTest::newRow("lblBitmap") << "lblBitmap" << 17 << false;
    QTest::newRow("Label5") << "Label5" << 13 << true;
    QTest::newRow("Label6") << "Label6" << 13 << true;
    QTest::newRow("SpeedButton4") << "SpeedButton4" << 13 << true;
    QTest::newRow("SpeedButton5") << "SpeedButton5" << 13 << true;
    QTest::newRow("SpeedButton6") << "SpeedButton6" << 13 << true;
}

void tst_MainWindow::fonts()
{
    QFETCH(QString, name);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);

    TfrmMain& frm = shared();
    auto* widget = frm.findChild<QWidget*>(name);
    QVERIFY(widget);
    const QFontInfo info(widget->font());
    QCOMPARE(info.pixelSize(), pixelSize);
    QCOMPARE(info.bold(), bold);
    QVERIFY(!info.fixedPitch());
    QVERIFY(!info.italic());
    // Both X11 names mean Helvetica: where it is missing, the machine's stand-in for it.
    QCOMPARE(info.family(), QFontInfo(QFont(QStringLiteral("Helvetica"))).family());
}

void tst_MainWindow::defaultFontElsewhere()
{
    TfrmMain& frm = shared();
    QCOMPARE(frm.font().resolveMask(), 0u);
    for (QWidget* w : std::initializer_list<QWidget*> { frm.cboPaths, frm.Label2, frm.Memo,
             frm.TreeView, frm.TextViewer1, frm.Button1, frm.ivObjects })
        QCOMPARE(w->font(), QApplication::font(w));
}

void tst_MainWindow::menu()
{
    const auto frm = makeWindow();
    struct Entry
    {
        const char* name;
        const char* caption; // null: a separator
    };
    const QList<QPair<Entry, QList<Entry>>> expected = {
        { { "File1", "File" },
            { { "New1", "New" }, { "Open1", "Open" }, { "Close1", "Close" }, { "N3", nullptr },
                { "Save1", "Save" }, { "SaveAs1", "Save As..." },
                { "Saveaspackage1", "Save as package..." }, { "N1", nullptr },
                { "Importskin1", "Import skin..." }, { "N2", nullptr }, { "Print1", "Print" },
                { "PrintSetup1", "Print Setup" }, { "N4", nullptr }, { "Exit1", "Exit" } } },
        { { "Edit1", "Edit" }, {} },
        { { "View1", "View" }, {} },
        { { "Insert1", "Insert" }, {} },
        { { "ools1", "Tools" }, {} },
        { { "Window1", "Window" }, {} },
        { { "Help1", "Help" },
            { { "Help2", "Help" }, { "N5", nullptr }, { "About1", "About..." } } },
    };
    const QList<QAction*> top = frm->MainMenu1->actions();
    QCOMPARE(top.size(), expected.size());
    for (int i = 0; i < top.size(); ++i) {
        QMenu* menu = top[i]->menu();
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QLatin1String(expected[i].first.name));
        QCOMPARE(menu->title(), QLatin1String(expected[i].first.caption));
        const QList<QAction*> entries = menu->actions();
        const QList<Entry>& want = expected[i].second;
        QCOMPARE(entries.size(), want.size());
        for (int j = 0; j < entries.size(); ++j) {
            QAction* a = entries[j];
            QCOMPARE(a->objectName(), QLatin1String(want[j].name));
            QCOMPARE(a->isSeparator(), want[j].caption == nullptr);
            if (want[j].caption)
                QCOMPARE(a->text(), QLatin1String(want[j].caption));
            QVERIFY(a->isEnabled());
            QVERIFY(a->shortcut().isEmpty());
            QVERIFY(a->icon().isNull());
            QVERIFY(!a->isCheckable());
        }
    }
    QCOMPARE(frm->MainMenu1->palette().color(QPalette::Window), QColor(0xEB, 0xEA, 0xDB));
}

void tst_MainWindow::menuEntriesDoNothing()
{
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    QCoreApplication::processEvents();
    m_reports.clear();
    const QByteArray styleDir = frm->state().StyleDir;
    // The tree shows its own selection; everything else must look exactly as before.
    auto outsideTree = [&] {
        QImage image = grabWindow(frm.get());
        QPainter(&image).fillRect(
            QRect(frm->TreeView->mapTo(frm.get(), QPoint(0, 0)), frm->TreeView->size()), Qt::black);
        return image;
    };
    const QImage before = outsideTree();
    for (QAction* top : frm->MainMenu1->actions()) {
        top->trigger();
        for (QAction* entry : top->menu()->actions())
            if (entry != frm->Exit1)
                entry->trigger();
    }
    for (QAbstractButton* b :
        std::initializer_list<QAbstractButton*> { frm->SpeedButton1, frm->SpeedButton2,
            frm->SpeedButton3, frm->ToolButton1, frm->ToolButton2, frm->ToolButton3 })
        b->click();
    QTreeWidgetItem* node = frm->TreeView->topLevelItem(0)->child(1)->child(0);
    frm->TreeView->setCurrentItem(node);
    QTest::mouseClick(frm->TreeView->viewport(), Qt::LeftButton, {},
        frm->TreeView->visualItemRect(frm->TreeView->topLevelItem(0)->child(2)).center());
    QCoreApplication::processEvents();
    QVERIFY(frm->isVisible());
    QVERIFY(m_reports.isEmpty());
    QCOMPARE(frm->state().StyleDir, styleDir);
    QCOMPARE(frm->lblBitmap->text(), QStringLiteral("lblBitmap"));
    // The click took the focus, which the icon view shows in its selection: hand it back.
    QCOMPARE(QApplication::focusWidget(), frm->TreeView);
    frm->ivObjects->setFocus();
    QCOMPARE(outsideTree(), before);
}

void tst_MainWindow::imageLists()
{
    const auto frm = makeWindow();
    struct List
    {
        const ImageList* list;
        int count;
        QSize size;
    };
    for (const List& l :
        { List { &frm->imageList1(), 6, { 50, 50 } }, List { &frm->imageList2(), 3, { 16, 16 } },
            List { &frm->imageList3(), 22, { 16, 16 } } }) {
        QCOMPARE(l.list->count(), l.count);
        QCOMPARE(l.list->imageSize(), l.size);
        for (int i = 0; i < l.count; ++i) {
            const QPixmap image = l.list->image(i);
            QVERIFY(!image.isNull());
            QCOMPARE(image.size(), l.size);
            QVERIFY(!image.hasAlphaChannel());
        }
    }
    QCOMPARE(frm->ivObjects->iconSize(), QSize(50, 50));
    QCOMPARE(frm->TreeView->topLevelItem(0)->icon(0).pixmap(16, 16).toImage(),
        frm->imageList3().image(5).toImage());
}

void tst_MainWindow::iconViewItems()
{
    const auto frm = makeWindow();
    const QStringList captions = { "Windows", "Taskbar", "Colors", "Fonts", "Controls" };
    const int images[] = { 0, 1, 3, 4, 5 };
    QCOMPARE(frm->ivObjects->count(), 5);
    for (int i = 0; i < 5; ++i) {
        QListWidgetItem* item = frm->ivObjects->item(i);
        QCOMPARE(item->text(), captions[i]);
        QCOMPARE(item->icon().pixmap(50, 50).toImage().convertToFormat(QImage::Format_RGB32),
            frm->imageList1().image(images[i]).toImage().convertToFormat(QImage::Format_RGB32));
    }
    QCOMPARE(frm->ivObjects->viewMode(), QListView::IconMode);
    QCOMPARE(frm->ivObjects->flow(), QListView::TopToBottom);
    QVERIFY(!frm->ivObjects->isWrapping());
    QVERIFY(frm->ivObjects->wordWrap());
    QCOMPARE(frm->ivObjects->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(frm->ivObjects->selectedItems(), QList<QListWidgetItem*> { frm->ivObjects->item(0) });

    // One column from the top down: every item below the one before, none beside it.
    auto frmShown = makeWindow();
    QVERIFY(showWindow(*frmShown));
    int lastBottom = -1;
    for (int i = 0; i < 5; ++i) {
        const QRect r = frmShown->ivObjects->visualItemRect(frmShown->ivObjects->item(i));
        QVERIFY(r.top() >= lastBottom);
        QVERIFY(r.right() < frmShown->ivObjects->viewport()->width());
        lastBottom = r.bottom();
    }
}

void tst_MainWindow::styleBoxItems()
{
    const auto frm = makeWindow();
    QCOMPARE(frm->cboPaths->count(), 3);
    QCOMPARE(frm->cboPaths->itemText(0), kFirstStyle);
    QCOMPARE(frm->cboPaths->itemText(1),
        QStringLiteral("/home/Projects/framewright/Themes/Silver/Frame/"));
    QCOMPARE(frm->cboPaths->itemText(2),
        QStringLiteral("/home/Projects/framewright/Themes/Licorice/Frame/"));
    QVERIFY(!frm->cboPaths->isEditable());
    QCOMPARE(frm->cboPaths->currentIndex(), 0);
    QCOMPARE(frm->cboPaths->view()->sizeHintForRow(0), 17);
    QVERIFY(showWindow(*frm));
    frm->cboPaths->showPopup();
    QTRY_VERIFY(frm->cboPaths->view()->isVisible());
    for (int row = 0; row < 3; ++row)
        QCOMPARE(
            frm->cboPaths->view()->visualRect(frm->cboPaths->model()->index(row, 0)).height(), 17);
    frm->cboPaths->hidePopup();
}

void tst_MainWindow::windowIcon()
{
    const auto frm = makeWindow();
    const QIcon icon = frm->windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    const QImage picture = icon.pixmap(16, 16).toImage();
    QCOMPARE(picture.size(), QSize(16, 16));
    QCOMPARE(picture.pixelColor(0, 0).rgb(), QColor(0xFF, 0x00, 0xFF).rgb());
}

void tst_MainWindow::zoomButtonsLatchExclusively()
{
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    frm->PageControl3->setCurrentWidget(frm->TabSheet5);
    auto downs = [&] {
        return QList<bool> { frm->SpeedButton4->isChecked(), frm->SpeedButton5->isChecked(),
            frm->SpeedButton6->isChecked() };
    };
    QCOMPARE(downs(), (QList<bool> { true, false, false }));
    QTest::mouseClick(frm->SpeedButton5, Qt::LeftButton);
    QCOMPARE(downs(), (QList<bool> { false, true, false }));
    QTest::mouseClick(frm->SpeedButton5, Qt::LeftButton);
    QCOMPARE(downs(), (QList<bool> { false, true, false }));
    QTest::mouseClick(frm->SpeedButton6, Qt::LeftButton);
    QCOMPARE(downs(), (QList<bool> { false, false, true }));
    QVERIFY(frm->Image8->picture().isNull());
    QCOMPARE(frm->lblBitmap->text(), QStringLiteral("lblBitmap"));
}

void tst_MainWindow::initialFocus()
{
    const auto created = makeWindow();
    QCOMPARE(created->focusWidget(), created->ivObjects);
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    QTRY_COMPARE(QApplication::focusWidget(), frm->ivObjects);
}

void tst_MainWindow::tabWalk()
{
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    QTRY_COMPARE(QApplication::focusWidget(), frm->ivObjects);
    const QStringList forward = { "cboPaths", "PageControl1", "PageControl2", "TreeView",
        "PageControl3", "TextViewer1", "Button1", "PageControl4", "ivObjects" };
    QStringList walked;
    for (int i = 0; i < forward.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << formName(QApplication::focusWidget());
    }
    QCOMPARE(walked, forward);

    walked.clear();
    QStringList backward = forward;
    std::reverse(backward.begin(), backward.end());
    backward.removeFirst();
    backward << "ivObjects";
    for (int i = 0; i < backward.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        walked << formName(QApplication::focusWidget());
    }
    QCOMPARE(walked, backward);
}

void tst_MainWindow::memoAndViewerPassTabOn()
{
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    frm->PageControl1->setCurrentWidget(frm->TabSheet1);
    const QString code = frm->Memo->toPlainText();
    frm->Memo->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), frm->Memo);
    QTest::keyClick(frm->Memo, Qt::Key_Tab);
    QCOMPARE(formName(QApplication::focusWidget()), QStringLiteral("PageControl2"));
    QCOMPARE(frm->Memo->toPlainText(), code);

    frm->TextViewer1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), frm->TextViewer1);
    QTest::keyClick(frm->TextViewer1, Qt::Key_Tab);
    QCOMPARE(formName(QApplication::focusWidget()), QStringLiteral("Button1"));
    QVERIFY(frm->Memo->lineWrapMode() == QPlainTextEdit::WidgetWidth);
    QCOMPARE(frm->Memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(frm->Memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(!frm->Memo->isReadOnly());
    QVERIFY(frm->TextViewer1->isReadOnly());
}

void tst_MainWindow::buttonsNeverTakeFocus()
{
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    QTRY_COMPARE(QApplication::focusWidget(), frm->ivObjects);
    frm->PageControl3->setCurrentWidget(frm->TabSheet5);
    const QList<QAbstractButton*> buttons = { frm->SpeedButton1, frm->SpeedButton2,
        frm->SpeedButton3, frm->SpeedButton4, frm->SpeedButton5, frm->SpeedButton6,
        frm->ToolButton1, frm->ToolButton2, frm->ToolButton3 };
    for (QAbstractButton* b : buttons) {
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), frm->ivObjects);
    }
}

void tst_MainWindow::onlyImgActualShowsAHint()
{
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    QStringList hinted;
    for (const QWidget* w : frm->findChildren<QWidget*>())
        if (!w->toolTip().isEmpty())
            hinted << w->objectName();
    QCOMPARE(hinted, QStringList { "imgActual" });
    for (const QMenu* m : frm->findChildren<QMenu*>())
        QVERIFY(!m->toolTipsVisible());

    // Ask every visible control for a hint where the user would rest the pointer, on both
    // pages of the lower right.
    auto hintAt = [](QWidget* w, QPoint p) {
        // A hint fades out, not at once: wait until the last one is gone.
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
            return QStringLiteral("(a hint that does not go away)");
        QHelpEvent event(QEvent::ToolTip, p, w->mapToGlobal(p));
        QApplication::sendEvent(w, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    for (int page = 0; page < 2; ++page) {
        frm->PageControl3->setCurrentIndex(page);
        for (QWidget* w : frm->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->isWindow())
                continue;
            const QString hint = hintAt(w, w->rect().center());
            QCOMPARE(hint, w == frm->imgActual ? QStringLiteral("Left Click to Edit") : QString());
        }
    }
    for (QAction* top : frm->MainMenu1->actions())
        QCOMPARE(hintAt(frm->MainMenu1, frm->MainMenu1->actionGeometry(top).center()), QString());
    QTreeWidgetItem* longest = frm->TreeView->topLevelItem(0)->child(1)->child(6);
    QVERIFY(longest);
    QCOMPARE(hintAt(frm->TreeView->viewport(), frm->TreeView->visualItemRect(longest).center()),
        QString());
    QCOMPARE(hintAt(frm->ivObjects->viewport(),
                 frm->ivObjects->visualItemRect(frm->ivObjects->item(4)).center()),
        QString());
    QToolTip::hideText();
}

void tst_MainWindow::statusBarIsNeverWritten()
{
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    for (QAction* a : frm->findChildren<QAction*>()) {
        QVERIFY(a->statusTip().isEmpty());
        a->hover();
        a->showStatusText(frm->ivObjects);
    }
    for (QWidget* w : std::initializer_list<QWidget*> {
             frm->ivObjects, frm->TreeView, frm->Memo, frm->MainMenu1, frm.get() }) {
        QStatusTipEvent tip(QStringLiteral("probe"));
        QApplication::sendEvent(w, &tip);
    }
    QCOMPARE(frm->StatusBar1->currentMessage(), QString());
    QVERIFY(frm->StatusBar1->children().size() <= 2); // its layout and the size grip only
}

void tst_MainWindow::iconViewItemsCannotBeDragged()
{
    const auto frm = makeWindow();
    QVERIFY(!frm->ivObjects->dragEnabled());
    QCOMPARE(frm->ivObjects->dragDropMode(), QAbstractItemView::NoDragDrop);
    QCOMPARE(frm->ivObjects->movement(), QListView::Static);
    QVERIFY(!frm->TreeView->dragEnabled());
    QCOMPARE(frm->TreeView->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(frm->TreeView->isHeaderHidden());
    QVERIFY(frm->TreeView->rootIsDecorated());
    QVERIFY(!frm->TreeView->isSortingEnabled());
}

void tst_MainWindow::startUpTakesTheFirstStyleWithoutLoading()
{
    const auto frm = makeWindow();
    QCOMPARE(frm->cboPaths->currentIndex(), 0);
    QCOMPARE(frm->cboPaths->currentText(), kFirstStyle);
    // No load pass before the first show: StyleDir is still empty and nothing was reported.
    QVERIFY(frm->state().StyleDir.isEmpty());
    QVERIFY(m_reports.isEmpty());
    QCOMPARE(frm->state().InactiveWidth, 393);
    QCOMPARE(frm->state().InactiveHeight, 249);
    QCOMPARE(frm->state().ActiveWidth, 397);
    QCOMPARE(frm->state().ActiveHeight, 237);
}

void tst_MainWindow::startUpBuildsTheTreeOnce()
{
    TreeBuildCounter counter;
    qApp->installEventFilter(&counter);
    const auto frm = makeWindow();
    qApp->removeEventFilter(&counter);
    QCOMPARE(counter.builds, 1);
    // Step order: the style box is set before the icon view, the two files are read after it.
    QCOMPARE(counter.styleIndexAtBuild, 0);
    QVERIFY(!counter.filesReadBeforeBuild);
    QVERIFY(!frm->Memo->toPlainText().isEmpty());
    QCOMPARE(frm->TreeView->topLevelItemCount(), 1);
    QCOMPARE(frm->TreeView->topLevelItem(0)->text(0), QStringLiteral("Windows"));
    QVERIFY(frm->TreeView->topLevelItem(0)->isExpanded());
}

// The tree lays every row out at the height of its first, which spares measuring them all; so
// every row must ask for exactly that height itself, or it would be cut or padded.
void tst_MainWindow::treeRowsShareOneHeight()
{
    struct TreeAccess : QTreeView
    {
        using QTreeView::indexRowSizeHint;
    };
    const auto frm = makeWindow();
    frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    QTreeWidget* tree = frm->TreeView;
    QVERIFY(tree->uniformRowHeights());
    int (QTreeView::*rowSizeHint)(const QModelIndex&) const = &TreeAccess::indexRowSizeHint;
    int rows = 0;
    int nextTop = tree->visualItemRect(tree->topLevelItem(0)).top();
    const int height = tree->visualItemRect(tree->topLevelItem(0)).height();
    QVERIFY(height >= 16);
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++rows) {
        const QRect row = tree->visualItemRect(*it);
        QCOMPARE(row.top(), nextTop);
        QCOMPARE(row.height(), height);
        QCOMPARE((tree->*rowSizeHint)(tree->indexFromItem(*it)), height);
        nextTop = row.bottom() + 1;
    }
    QVERIFY(rows > 40);
}

void tst_MainWindow::firstShowLoadsOnce()
{
    QTemporaryDir styles;
    QVERIFY(styles.isValid());
    const QString empty = styles.path() + QLatin1Char('/');
    auto frm = makeWindow();
    {
        const QSignalBlocker quiet(frm->cboPaths);
        frm->cboPaths->addItem(empty);
        frm->cboPaths->setCurrentIndex(3);
    }
    const QStringList once = { cannotOpen(empty + QStringLiteral("frame_mask_left.bmp")) };
    QVERIFY(showWindow(*frm));
    QTRY_COMPARE(m_reports, once);
    QCOMPARE(frm->state().StyleDir, QFile::encodeName(empty));

    frm->showMinimized();
    QCoreApplication::processEvents();
    frm->showNormal();
    QTRY_VERIFY(!frm->isMinimized());
    QVERIFY(frm->isVisible());
    frm->hide();
    frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    QCoreApplication::processEvents();
    QCOMPARE(m_reports, once);

    // Later passes come from Button1 and from the style box's changes.
    frm->Button1->click();
    QCOMPARE(m_reports.size(), 2);
    frm->cboPaths->setCurrentIndex(1);
    QCOMPARE(frm->state().StyleDir, QByteArray("/home/Projects/framewright/Themes/Silver/Frame/"));
    QCOMPARE(m_reports.size(), 3);
}

void tst_MainWindow::firstStyleMissingGivesOneReport()
{
    auto frm = makeWindow();
    const QImage corner = frm->captionbar_left_inactive->picture();
    const QImage caption = frm->captionbar_active->picture();
    QVERIFY(showWindow(*frm));
    QTRY_COMPARE(m_reports, QStringList { cannotOpen(kFirstStyle + "frame_mask_left.bmp") });
    QCoreApplication::processEvents();
    QCOMPARE(m_reports.size(), 1);
    QCOMPARE(frm->state().StyleDir, kFirstStyle.toLocal8Bit());
    QCOMPARE(frm->captionbar_left_inactive->picture(), corner);
    QCOMPARE(frm->captionbar_active->picture(), caption);
    QVERIFY(frm->isVisible());
}

void tst_MainWindow::centredOnFirstShow()
{
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    const QPoint screenCentre = frm->screen()->geometry().center();
    QTRY_VERIFY((frm->frameGeometry().center() - screenCentre).manhattanLength() <= 2);
    QCOMPARE(frm->size(), QSize(1152, 770));
}

void tst_MainWindow::helpIsRenderedAsHtml()
{
    const auto frm = makeWindow();
    const QString text = frm->TextViewer1->toPlainText();
    QVERIFY(text.contains(QStringLiteral("Framewright")));
    QVERIFY(!text.contains(QStringLiteral("<body")));
    QVERIFY(!text.contains(QStringLiteral("href")));
    QVERIFY(text.contains(QStringLiteral("frame_mask_left.bmp")));
    QCOMPARE(frm->TextViewer1->document()->metaInformation(QTextDocument::DocumentTitle),
        QStringLiteral("Framewright help"));
    QVERIFY(m_reports.isEmpty());
}

void tst_MainWindow::helpLinksLeadWithinThePage()
{
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    QTextBrowser* help = frm->TextViewer1;
    const QString before = help->toPlainText();
    QTextCursor link = help->document()->find(QStringLiteral("The files of a style"));
    QVERIFY(!link.isNull());
    QVERIFY(link.charFormat().isAnchor());
    link.setPosition(link.selectionStart() + 2);
    const QPoint at = help->cursorRect(link).center();
    QCOMPARE(help->verticalScrollBar()->value(), 0);
    QTest::mouseClick(help->viewport(), Qt::LeftButton, {}, at);
    QTRY_VERIFY(help->verticalScrollBar()->value() > 0);
    QCOMPARE(help->toPlainText(), before);
}

namespace {

// Records the widths a widget is resized to.
class ResizeLog : public QObject
{
public:
    QList<int> widths;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            widths.append(static_cast<QResizeEvent*>(event)->size().width());
        return false;
    }
};

} // namespace

// The help page is laid out anew at every width its view takes; the window is laid out before it
// is first shown, so the page gets one width only, its final one.
void tst_MainWindow::helpIsLaidOutAtOneWidthOnFirstShow()
{
    auto frm = makeWindow();
    ResizeLog log;
    frm->TextViewer1->viewport()->installEventFilter(&log);
    QVERIFY(showWindow(*frm));
    QCoreApplication::processEvents();
    QCOMPARE(log.widths, QList<int> { frm->TextViewer1->viewport()->width() });
    QVERIFY(frm->TextViewer1->verticalScrollBar()->isVisible());
}

void tst_MainWindow::codeShowsLunaLines()
{
    const auto frm = makeWindow();
    const QString file = QString::fromUtf8(readFile(sourceAppDir() + QStringLiteral("Luna.uis")));
    QStringList lines = file.split(QLatin1Char('\n'));
    if (file.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    QVERIFY(lines.size() > 10);
    QCOMPARE(frm->Memo->document()->blockCount(), lines.size());
    QCOMPARE(frm->Memo->toPlainText(), lines.join(QLatin1Char('\n')));
    QVERIFY(m_reports.isEmpty());
}

void tst_MainWindow::programFilesComeFromTheExecutablesDirectory()
{
    QTemporaryDir decoy;
    QVERIFY(decoy.isValid());
    QVERIFY(writeFile(decoy.filePath(QStringLiteral("help.htm")), "<p>decoy help</p>"));
    QVERIFY(writeFile(decoy.filePath(QStringLiteral("Luna.uis")), "decoy code"));
    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(decoy.path()));
    const auto frm = std::make_unique<TfrmMain>(nullptr);
    QDir::setCurrent(cwd);

    const QString exeDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    QCOMPARE(TfrmMain::executableDir(), exeDir);
    QVERIFY(!frm->TextViewer1->toPlainText().contains(QStringLiteral("decoy")));
    QVERIFY(!frm->Memo->toPlainText().contains(QStringLiteral("decoy")));
    QStringList expected;
    if (!QFileInfo::exists(exeDir + QStringLiteral("help.htm")))
        expected << cannotOpen(exeDir + QStringLiteral("help.htm"));
    if (!QFileInfo::exists(exeDir + QStringLiteral("Luna.uis")))
        expected << cannotOpen(exeDir + QStringLiteral("Luna.uis"));
    QCOMPARE(m_reports, expected);
}

void tst_MainWindow::missingProgramFiles_data()
{
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("code");
    QTest::addColumn<bool>("helpIsDirectory");

    QTest::newRow("help.htm missing") << false << true << false;
    QTest::newRow("Luna.uis missing") << true << false << false;
    QTest::newRow("both missing") << false << false << false;
    QTest::newRow("help.htm is a directory") << false << true << true;
}

void tst_MainWindow::missingProgramFiles()
{
    QFETCH(bool, help);
    QFETCH(bool, code);
    QFETCH(bool, helpIsDirectory);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString programDir = dir.path() + QLatin1Char('/');
    if (help)
        QVERIFY(writeFile(programDir + "help.htm", "<html><body><h1>Help page</h1></body></html>"));
    if (helpIsDirectory)
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("help.htm")));
    if (code)
        QVERIFY(writeFile(programDir + "Luna.uis", "[Style]\nName = Luna\n"));

    auto frm = makeWindow(programDir);
    QStringList expected;
    if (!help)
        expected << cannotOpen(programDir + "help.htm",
            helpIsDirectory ? "Is a directory" : "No such file or directory");
    if (!code)
        expected << cannotOpen(programDir + "Luna.uis");
    QCOMPARE(m_reports, expected);
    QCOMPARE(frm->TextViewer1->toPlainText(), help ? QStringLiteral("Help page") : QString());
    QCOMPARE(frm->Memo->toPlainText(), code ? QStringLiteral("[Style]\nName = Luna") : QString());

    // The rest of the window works: start-up went on past the failures.
    QCOMPARE(frm->state().InactiveWidth, 393);
    QCOMPARE(frm->TreeView->topLevelItemCount(), 1);
    QVERIFY(showWindow(*frm));
}

void tst_MainWindow::exitEndsTheEventLoop()
{
    m_shared.reset();
    auto frm = makeWindow();
    QVERIFY(showWindow(*frm));
    QTimer::singleShot(0, frm.get(), [&] { frm->Exit1->trigger(); });
    // A safety net only: a window that did not close would hold the loop forever.
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    safety.start(20000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!frm->isVisible());
}

int main(int argc, char* argv[])
{
    // The window keeps its pixel layout even where the environment asks for scaling.
    qputenv("QT_SCALE_FACTOR", "2");
    prepareApplication();
    QApplication app(argc, argv);
    // ... and its own colours where the desktop's theme is a dark one.
    QPalette desktop = QApplication::palette();
    desktop.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    desktop.setColor(QPalette::Text, Qt::white);
    QApplication::setPalette(desktop);
    applyApplicationLook();
    tst_MainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
