// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/uMain.h"

#include "app/ErrorReport.h"
#include "controls/FormColours.h"
#include "controls/FormSetup.h"
#include "explorer/ElementTree.h"
#include "preview/StyleWatch.h"
#include "style/BitmapReader.h"
#include "style/DiskFile.h"
#include "style/ErrorText.h"

#include <QApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QUrl>
#include <sys/stat.h>

// The resources live in a static library: nothing would pull them in otherwise.
static void initResources()
{
    Q_INIT_RESOURCE(app);
}

namespace {

struct PixelFont
{
    const char* control;
    const char* family;
    int pixelSize;
    bool bold;
};

constexpr int kHelpLinkBgr = 16711680;

// The picture of each category in ImageList1; picture 2 belongs to none.
constexpr int kCategoryImages[] = { 0, 1, 3, 4, 5 };

// The form's fonts are pixel sizes, which a Designer font cannot hold.
const PixelFont kFonts[] = {
    { "lblBitmap", "adobe-helvetica", 17, false },
    { "Label5", "helvetica", 13, true },
    { "Label6", "helvetica", 13, true },
    { "SpeedButton4", "helvetica", 13, true },
    { "SpeedButton5", "helvetica", 13, true },
    { "SpeedButton6", "helvetica", 13, true },
};

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

} // namespace

TfrmMain::TfrmMain(
    IDesktopApi* desktop, const QString& programDir, QWidget* parent, const StartOptions& start)
    : QMainWindow(parent)
    , ImageList1((initResources(), QStringLiteral(":/imagelist1")), 6, QSize(50, 50))
    , ImageList2(QStringLiteral(":/imagelist2"), 3, QSize(16, 16))
    , ImageList3(QStringLiteral(":/imagelist3"), 22, QSize(16, 16))
    , m_desktop(desktop)
    , m_programDir(programDir)
{
    Ui::TfrmMain::setupUi(this);
    // The preview panel's controls are members under their own names, like every other control.
    static_cast<Ui::PreviewPanel&>(*this) = *Panel6;
    finishForm();
    {
        // In place before FormCreate, which selects item 0: the first DIR given.
        const QSignalBlocker quiet(cboPaths);
        for (auto dir = start.styleDirs.crbegin(); dir != start.styleDirs.crend(); ++dir)
            placeStyleDir(*dir);
        cboPaths->setCurrentIndex(-1);
    }
    if (start.watch) {
        // A label of its own: a status bar message would be cleared by hovering a menu entry.
        m_watchStatus = new QLabel(StatusBar1);
        m_watchStatus->setObjectName(QStringLiteral("WatchStatus"));
        StatusBar1->addWidget(m_watchStatus, 1);
        m_watchStatus->hide();
        m_watch = new StyleWatch(start.quietPeriod, this);
        connect(m_watch, &StyleWatch::settled, this, &TfrmMain::styleSettled);
    }
    // A folder dragged from a file manager is taken wherever it lands, the memo included, which
    // would otherwise insert its URL as text: the application sees every drag first.
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    connectHandlers();
    ErrorReport::guard([this] { FormCreate(); });
    // Laid out now, at the stored size, so that the first show resizes nothing: the help page is
    // laid out once, at its real width. Its view keeps its vertical scroll bar for the same
    // reason: a bar appearing after the first layout would narrow the page and lay it out again.
    FormSetup::settleGeometry(this);
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
}

void TfrmMain::finishForm()
{
    FormSetup::apply(this);
    applyFonts();

    // The frame keeps these heights on any style, font or desktop.
    MainMenu1->setFixedHeight(25);
    ToolBar1->setFixedHeight(29);
    StatusBar1->setFixedHeight(19);

    QPalette title = lblBitmap->palette();
    title.setColor(
        QPalette::Window, QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
    title.setColor(QPalette::WindowText, Qt::white);
    lblBitmap->setPalette(title);

    const QColor link = colourFromBgr(kHelpLinkBgr);
    QPalette help = TextViewer1->palette();
    help.setColor(QPalette::Link, link);
    help.setColor(QPalette::Text, Qt::black);
    TextViewer1->setPalette(help);
    // A document's own link colours would otherwise win over the palette.
    TextViewer1->document()->setDefaultStyleSheet(
        QStringLiteral("a { color: %1; text-decoration: underline; }").arg(link.name()));

    for (QWidget* widget : std::initializer_list<QWidget*> {
             Label5, Label6, SpeedButton4, SpeedButton5, SpeedButton6 })
        setTextColour(widget, Qt::black);
    Label2->adjustSize();

    // The style box's list rows are 17 pixels high; the menu-like delegate of the style's own
    // popup takes its row height from the menu font instead.
    cboPaths->setItemDelegate(new QStyledItemDelegate(cboPaths));
    for (int row = 0; row < cboPaths->count(); ++row)
        cboPaths->setItemData(row, QSize(0, 17), Qt::SizeHintRole);

    ScrollBox1->followContent();

    // Read through the program's own reader: loading them as icons from file would make Qt
    // load every image plugin to probe them first.
    setWindowIcon(QPixmap::fromImage(readResourceBitmap(QStringLiteral(":/appicon.png"))));
    for (int row = 0; row < ivObjects->count(); ++row)
        ivObjects->item(row)->setIcon(ImageList1.icon(kCategoryImages[row]));

    // The style box shows nothing until start-up picks its first item.
    {
        const QSignalBlocker quiet(cboPaths);
        cboPaths->setCurrentIndex(-1);
    }
    ivObjects->setWrapping(false);
    ivObjects->setGridSize(QSize(ivObjects->width() - 4, 70));
    ivObjects->setFocus();
}

void TfrmMain::placeStyleDir(const QString& dir)
{
    const int existing = cboPaths->findText(dir, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (existing >= 0)
        cboPaths->removeItem(existing);
    cboPaths->insertItem(0, dir);
    cboPaths->setItemData(0, QSize(0, 17), Qt::SizeHintRole);
}

void TfrmMain::applyFonts()
{
    for (const PixelFont& entry : kFonts) {
        if (auto* widget = findChild<QWidget*>(QLatin1String(entry.control)))
            widget->setFont(
                FormSetup::x11Font(QLatin1String(entry.family), entry.pixelSize, entry.bold));
    }
}

template<typename Sender, typename Signal>
void TfrmMain::bind(Sender* sender, Signal signal, void (TfrmMain::*handler)())
{
    connect(
        sender, signal, this, [this, handler] { ErrorReport::guard([&] { (this->*handler)(); }); });
}

void TfrmMain::connectHandlers()
{
    bind(Exit1, &QAction::triggered, &TfrmMain::Exit1Click);
    bind(cboPaths, qOverload<int>(&QComboBox::currentIndexChanged), &TfrmMain::Button1Click);
    bind(Button1, &QPushButton::clicked, &TfrmMain::Button1Click);
    bind(ivObjects, &QListWidget::itemSelectionChanged, &TfrmMain::ivObjectsSelectItem);
    bind(captionbar_inactive, &ImageControl::clicked, &TfrmMain::captionbar_inactiveClick);
    bind(imgActual, &ImageControl::clicked, &TfrmMain::imgActualClick);
    for (ImageControl* image : { ActiveButtonMinimize, ActiveGlyphMinimize }) {
        bind(image, &ImageControl::mouseMoved, &TfrmMain::ActiveGlyphMinimizeMouseMove);
        bind(image, &ImageControl::mouseLeft, &TfrmMain::ActiveGlyphMinimizeMouseLeave);
    }
    bind(ActiveGlyphMinimize, &ImageControl::mousePressed, &TfrmMain::ActiveGlyphMinimizeMouseDown);
    bind(ActiveGlyphMinimize, &ImageControl::mouseReleased, &TfrmMain::ActiveGlyphMinimizeMouseUp);
    bind(ActiveGlyphMinimize, &ImageControl::clicked, &TfrmMain::ActiveGlyphMinimizeClick);
}

QString TfrmMain::executableDir()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

BitmapPaneView TfrmMain::bitmapPaneView() const
{
    return BitmapPaneView { imgActual, imgZoomed, lblBitmap };
}

SampleWindowView TfrmMain::inactiveView() const
{
    return Panel6->inactiveView();
}

SampleWindowView TfrmMain::activeView() const
{
    return Panel6->activeView();
}

void TfrmMain::FormCreate()
{
    {
        // Start-up's own choice of style loads nothing: the first show does.
        const QSignalBlocker quiet(cboPaths);
        cboPaths->setCurrentIndex(0);
    }
    ivObjects->setCurrentRow(0);

    const QString programDir = m_programDir.isEmpty() ? executableDir() : m_programDir;
    // The two files have nothing to do with each other: each failure is reported on its own.
    ErrorReport::guard([&] { loadHelp(programDir); });
    ErrorReport::guard([&] { loadCode(programDir); });
}

void TfrmMain::loadHelp(const QString& programDir)
{
    const QString path = programDir + QStringLiteral("help.htm");
    const QByteArray content = readWholeFile(QFile::encodeName(path));
    TextViewer1->setSearchPaths({ programDir });
    const QString text = QString::fromUtf8(content);
    if (Qt::mightBeRichText(text))
        TextViewer1->setHtml(text);
    else
        TextViewer1->setPlainText(text);
}

void TfrmMain::loadCode(const QString& programDir)
{
    const QString path = programDir + QStringLiteral("Luna.uis");
    QString text = QString::fromLocal8Bit(readWholeFile(QFile::encodeName(path)));
    // Text lines: any line break ends a line, and a break at the very end starts no new one.
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    Memo->setPlainText(text);
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // A window shown again after being minimised gets a spontaneous show: no second load.
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    // The first pass runs before the first frame, so the window appears composed; a failure is
    // reported once the window is on screen, so the box has the window behind it.
    ErrorReport::guard([this] { FormShow(); }, ErrorReport::When::Queued);
}

void TfrmMain::FormShow()
{
    Button1Click();
}

void TfrmMain::Exit1Click()
{
    close();
}

void TfrmMain::Button1Click()
{
    setWatchStatus({});
    const QByteArray styleDir = cboPaths->currentText().toLocal8Bit();
    // Set before the pass, so a style that fails to load is watched until it loads.
    if (m_watch)
        m_watch->setDirectory(QFile::decodeName(styleDir));
    Panel6->loadStyle(styleDir);
}

void TfrmMain::setWatchStatus(const QString& text)
{
    if (!m_watchStatus)
        return;
    m_watchStatus->setText(text);
    m_watchStatus->setVisible(!text.isEmpty());
}

void TfrmMain::styleSettled(const QStringList& changedFiles)
{
    for (const QString& name : changedFiles)
        m_changedFiles.insert(name);
    m_passDue = true;
    runWatchedPass();
}

void TfrmMain::runWatchedPass()
{
    if (!m_passDue)
        return;
    // A pass now would change the window under the box the author is reading; it runs once
    // the box is closed.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        connect(modal, &QObject::destroyed, this, &TfrmMain::runWatchedPass,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            connect(dialog, &QDialog::finished, this, &TfrmMain::runWatchedPass,
                Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
        return;
    }
    m_passDue = false;

    // No box: it would take the focus from the paint program the author is saving from. The
    // error report's own text goes to the status line instead.
    QString message;
    const auto attempt = [&message](auto&& step) {
        try {
            step();
        } catch (const std::exception& error) {
            if (message.isEmpty())
                message = ErrorText::format(ErrorText::messageOf(error));
        }
    };
    attempt([this] { Button1Click(); });
    attempt([this] { refreshBitmapPane(); });
    m_changedFiles.clear();
    setWatchStatus(message);
}

void TfrmMain::refreshBitmapPane()
{
    const QByteArray shown = imgActual->sourcePath();
    const QByteArray dir = QFile::encodeName(m_watch->directory());
    if (dir.isEmpty() || !shown.startsWith(dir))
        return;
    const QByteArray name = shown.mid(dir.size());
    if (name.contains('/') || !m_changedFiles.contains(QFile::decodeName(name)))
        return;
    // Read afresh through the one reader; the caption names the same file and stays.
    imgActual->loadFromFile(shown);
    imgZoomed->setPicture(imgActual->picture(), shown);
}

QString TfrmMain::droppedStyleDir(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    const QList<QUrl> urls = mime->urls();
    if (urls.isEmpty())
        return {};
    const QUrl& url = urls.first();
    if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == QLatin1String("localhost")))
        return {};
    // A name that is no UTF-8 arrives percent-encoded; its own bytes decide, not a lossy text.
    const QByteArray bytes
        = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (bytes.isEmpty() || !isValidUtf8(bytes))
        return {};
    struct stat info = {};
    if (::stat(bytes.constData(), &info) != 0)
        return {};
    const QString path = QString::fromUtf8(bytes);
    if (S_ISDIR(info.st_mode))
        return styleDirText(path, QStringLiteral("/"));
    if (S_ISREG(info.st_mode))
        return styleDirText(QFileInfo(path).path(), QStringLiteral("/"));
    return {};
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this)
            return takeDrag(event);
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TfrmMain::takeDrag(QEvent* event)
{
    auto* drop = static_cast<QDropEvent*>(event);
    const QString dir = droppedStyleDir(drop->mimeData());
    // Never a move: the file manager would delete the author's folder.
    const Qt::DropAction action = drop->possibleActions() & Qt::CopyAction ? Qt::CopyAction
        : drop->possibleActions() & Qt::LinkAction                         ? Qt::LinkAction
                                                                           : Qt::IgnoreAction;
    if (dir.isEmpty() || action == Qt::IgnoreAction) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(action);
    drop->accept();
    if (event->type() != QEvent::Drop)
        return true;
    {
        const QSignalBlocker quiet(cboPaths);
        placeStyleDir(dir);
        cboPaths->setCurrentIndex(0);
    }
    // Loaded as a choice in the style box would load it; a failure is reported once the drag
    // is over, so the file manager is not left waiting behind a box.
    ErrorReport::guard([this] { Button1Click(); }, ErrorReport::When::Queued);
    return true;
}

void TfrmMain::ivObjectsSelectItem()
{
    const QList<QListWidgetItem*> selected = ivObjects->selectedItems();
    if (!selected.isEmpty() && selected.first() == ivObjects->item(0))
        CreateWindowTree();
}

void TfrmMain::CreateWindowTree()
{
    ElementTree::build(TreeView, ImageList3);
}

void TfrmMain::captionbar_inactiveClick()
{
    BitmapPane::update(
        bitmapPaneView(), *captionbar_inactive, QStringLiteral(" captionbar_inactive.png"));
}

void TfrmMain::imgActualClick()
{
    BitmapPane::editShownBitmap(bitmapPaneView(), m_desktop);
}

void TfrmMain::ActiveGlyphMinimizeMouseMove()
{
    Panel6->minimizeButton().hover();
}

void TfrmMain::ActiveGlyphMinimizeMouseLeave()
{
    Panel6->minimizeButton().leave();
}

void TfrmMain::ActiveGlyphMinimizeMouseDown()
{
    Panel6->minimizeButton().show(StyleFile::State::Press);
    BitmapPane::update(
        bitmapPaneView(), *ActiveButtonMinimize, QStringLiteral(" captionbutton_press.png"));
}

void TfrmMain::ActiveGlyphMinimizeMouseUp()
{
    Panel6->minimizeButton().show(StyleFile::State::Over);
    BitmapPane::update(
        bitmapPaneView(), *ActiveButtonMinimize, QStringLiteral(" captionbutton_over.png"));
}

void TfrmMain::ActiveGlyphMinimizeClick()
{
    BitmapPane::update(
        bitmapPaneView(), *ActiveButtonMinimize, QStringLiteral(" captionbutton_normal.png"));
}
