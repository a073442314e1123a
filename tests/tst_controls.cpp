// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/AppLook.h"
#include "controls/DockLayout.h"
#include "controls/FormColours.h"
#include "controls/FormSetup.h"
#include "controls/ImageControl.h"
#include "controls/ScrollBox.h"
#include "controls/Shape.h"
#include "controls/SpeedButton.h"
#include "controls/SplitterBar.h"
#include "controls/ToolBar.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

QWidget* docked(QWidget* parent, const char* dock, QRect geometry, const char* name)
{
    auto* child = new QFrame(parent);
    child->setObjectName(QLatin1String(name));
    child->setGeometry(geometry);
    child->setProperty("dock", QLatin1String(dock));
    return child;
}

QStringList stackingOf(const QWidget* parent)
{
    QStringList names;
    for (const QObject* child : parent->children())
        if (child->isWidgetType())
            names << child->objectName();
    return names;
}

// Drags a splitter bar by dx pixels in two movements, live: the pane must follow before the
// button comes up, and the second movement counts from the press, not from the first.
int dragSplitter(SplitterBar* bar, int dx, int* widthWhileDragging = nullptr)
{
    const QPoint start = bar->mapToGlobal(QPoint(2, 10));
    QTest::mousePress(bar, Qt::LeftButton, {}, bar->mapFromGlobal(start));
    const QPoint end = start + QPoint(dx, 0);
    QTest::mouseMove(bar, bar->mapFromGlobal(start + QPoint(dx / 2, 0)));
    QTest::mouseMove(bar, bar->mapFromGlobal(end));
    QWidget* pane = bar->resizedPane();
    if (widthWhileDragging)
        *widthWhileDragging = pane ? pane->width() : -1;
    QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->mapFromGlobal(end));
    return pane ? pane->width() : -1;
}

} // namespace

class tst_Controls : public QObject
{
    Q_OBJECT

private slots:
    void colourFromBgr_data();
    void colourFromBgr();

    void dockOrder();
    void anchors_data();
    void anchors();

    void splitter_data();
    void splitter();
    void splitterReopensAClosedPane();

    void stackingKeepsCreationOrderPerKind();
    void stackingLeavesGlyphsAboveFaces();

    void speedButtonGroup();
    void speedButtonPictureIsColourKeyed();

    void scrollBoxFollowsContent();
    void shapeAndToolBarPaint();
};

void tst_Controls::colourFromBgr_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QColor>("rgb");
    QTest::newRow("window") << 14412523 << QColor(0xEB, 0xEA, 0xDB);
    QTest::newRow("backdrop") << 6973521 << QColor(0x51, 0x68, 0x6A);
    QTest::newRow("help links") << 16711680 << QColor(0x00, 0x00, 0xFF);
    QTest::newRow("inactive window") << 13553358 << QColor(0xCE, 0xCE, 0xCE);
    QTest::newRow("red in the low byte") << 0x0000FF << QColor(0xFF, 0x00, 0x00);
}

void tst_Controls::colourFromBgr()
{
    QFETCH(int, stored);
    QFETCH(QColor, rgb);
    QCOMPARE(::colourFromBgr(stored), rgb);
}

void tst_Controls::dockOrder()
{
    QWidget host;
    host.resize(300, 200);
    // Created out of claiming order on purpose: the fill first, the left docks by falling Left.
    QWidget* fill = docked(&host, "fill", QRect(0, 0, 10, 10), "fill");
    QWidget* left2 = docked(&host, "left", QRect(50, 0, 30, 10), "left2");
    QWidget* bottom = docked(&host, "bottom", QRect(0, 0, 10, 20), "bottom");
    QWidget* left1 = docked(&host, "left", QRect(0, 0, 40, 10), "left1");
    QWidget* top1 = docked(&host, "top", QRect(0, 0, 10, 10), "top1");
    QWidget* top2 = docked(&host, "top", QRect(0, 0, 10, 5), "top2");
    auto* fixed = new QLabel(&host);
    fixed->setGeometry(120, 100, 20, 20);
    DockLayout::installAll(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QCOMPARE(top1->geometry(), QRect(0, 0, 300, 10));
    QCOMPARE(top2->geometry(), QRect(0, 10, 300, 5));
    QCOMPARE(bottom->geometry(), QRect(0, 180, 300, 20));
    QCOMPARE(left1->geometry(), QRect(0, 15, 40, 165));
    QCOMPARE(left2->geometry(), QRect(40, 15, 30, 165));
    QCOMPARE(fill->geometry(), QRect(70, 15, 230, 165));
    QCOMPARE(fixed->geometry(), QRect(120, 100, 20, 20));

    host.resize(400, 300);
    QTRY_COMPARE(fill->geometry(), QRect(70, 15, 330, 265));
    QCOMPARE(bottom->geometry(), QRect(0, 280, 400, 20));
    QCOMPARE(left2->geometry(), QRect(40, 15, 30, 265));
    QCOMPARE(fixed->geometry(), QRect(120, 100, 20, 20));

    // The left docks were ordered once: a later width change keeps their order.
    left1->resize(100, left1->height());
    host.layout()->setGeometry(host.rect());
    QCOMPARE(left2->x(), 100);
    QCOMPARE(fill->geometry(), QRect(130, 15, 270, 265));
}

void tst_Controls::anchors_data()
{
    QTest::addColumn<QString>("anchors");
    QTest::addColumn<QRect>("grown");
    QTest::addColumn<QRect>("shrunk");

    // A 1109-wide child at (40, 0) in a 1152 x 29 host; grown by 100 x 20, shrunk by 200 x 9.
    QTest::newRow("left, top, right (the style box)")
        << "left,top,right" << QRect(40, 0, 1209, 23) << QRect(40, 0, 909, 23);
    QTest::newRow("left and top (default)")
        << "left,top" << QRect(40, 0, 1109, 23) << QRect(40, 0, 1109, 23);
    QTest::newRow("right only") << "right" << QRect(140, 0, 1109, 23) << QRect(-160, 0, 1109, 23);
    QTest::newRow("all four") << "left,top,right,bottom" << QRect(40, 0, 1209, 43)
                              << QRect(40, 0, 909, 14);
    QTest::newRow("bottom only") << "bottom" << QRect(40, 20, 1109, 23) << QRect(40, -9, 1109, 23);
}

void tst_Controls::anchors()
{
    QFETCH(QString, anchors);
    QFETCH(QRect, grown);
    QFETCH(QRect, shrunk);

    QWidget host;
    host.resize(1152, 29);
    auto* box = new QComboBox(&host);
    box->setGeometry(40, 0, 1109, 23);
    box->setProperty("anchors", anchors);
    DockLayout::installAll(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(box->geometry(), QRect(40, 0, 1109, 23));

    host.resize(1252, 49);
    QTRY_COMPARE(host.size(), QSize(1252, 49));
    QTRY_COMPARE(box->geometry(), grown);
    host.resize(952, 20);
    QTRY_COMPARE(host.size(), QSize(952, 20));
    QTRY_COMPARE(box->geometry(), shrunk);
}

void tst_Controls::splitter_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("pane");
    QTest::addColumn<int>("next");

    // The window's own arrangement in small: a 400 x 110 host with a 10-high top dock, then left
    // docks list (20), pane (100), bar1 (4), next (150), bar2 (4), and the fill. bar1 can widen
    // the pane to 400 - 30 - 178 = 192, bar2 the next one to 400 - 30 - 128 = 242.
    QTest::newRow("a little narrower") << "bar1" << -20 << 80 << 150;
    QTest::newRow("to 31: stays open") << "bar1" << -69 << 31 << 150;
    QTest::newRow("to 30: snaps shut") << "bar1" << -70 << 0 << 150;
    QTest::newRow("to 5: snaps shut") << "bar1" << -95 << 0 << 150;
    QTest::newRow("past the left edge") << "bar1" << -300 << 0 << 150;
    QTest::newRow("wider") << "bar1" << 40 << 140 << 150;
    QTest::newRow("up to the limit") << "bar1" << 92 << 192 << 150;
    QTest::newRow("past the limit") << "bar1" << 500 << 192 << 150;
    // A pane with a bar and more panes to its left: the bar takes its own neighbour and counts
    // everything else docked left.
    QTest::newRow("second bar: narrower") << "bar2" << -50 << 100 << 100;
    QTest::newRow("second bar: to 30 snaps shut") << "bar2" << -120 << 100 << 0;
    QTest::newRow("second bar: one short of the limit") << "bar2" << 91 << 100 << 241;
    QTest::newRow("second bar: up to the limit") << "bar2" << 92 << 100 << 242;
    QTest::newRow("second bar: past the limit") << "bar2" << 500 << 100 << 242;
}

void tst_Controls::splitter()
{
    QFETCH(QString, bar);
    QFETCH(int, dx);
    QFETCH(int, pane);
    QFETCH(int, next);

    QWidget host;
    host.resize(400, 110);
    // Created in the window's order, bars first, so the bars must find their panes by the
    // docking order, not by creation.
    auto* bar1 = new SplitterBar(&host);
    bar1->setObjectName(QStringLiteral("bar1"));
    bar1->setGeometry(120, 10, 4, 100);
    bar1->setProperty("dock", QStringLiteral("left"));
    auto* bar2 = new SplitterBar(&host);
    bar2->setObjectName(QStringLiteral("bar2"));
    bar2->setGeometry(274, 10, 4, 100);
    bar2->setProperty("dock", QStringLiteral("left"));
    QWidget* list = docked(&host, "left", QRect(0, 10, 20, 100), "list");
    QWidget* top = docked(&host, "top", QRect(0, 0, 400, 10), "top");
    QWidget* nextPane = docked(&host, "left", QRect(124, 10, 150, 100), "next");
    QWidget* firstPane = docked(&host, "left", QRect(20, 10, 100, 100), "pane");
    QWidget* fill = docked(&host, "fill", QRect(278, 10, 122, 100), "fill");
    DockLayout::installAll(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(bar1->resizedPane(), firstPane);
    QCOMPARE(bar2->resizedPane(), nextPane);
    QCOMPARE(bar1->cursor().shape(), Qt::SplitHCursor);

    SplitterBar* dragged = bar == QLatin1String("bar1") ? bar1 : bar2;
    int live = -1;
    QCOMPARE(dragSplitter(dragged, dx, &live), dragged == bar1 ? pane : next);
    QCOMPARE(live, dragged == bar1 ? pane : next);
    QCOMPARE(top->geometry(), QRect(0, 0, 400, 10));
    QCOMPARE(list->geometry(), QRect(0, 10, 20, 100));
    QCOMPARE(firstPane->geometry(), QRect(20, 10, pane, 100));
    QCOMPARE(bar1->geometry(), QRect(20 + pane, 10, 4, 100));
    QCOMPARE(nextPane->geometry(), QRect(24 + pane, 10, next, 100));
    QCOMPARE(bar2->geometry(), QRect(24 + pane + next, 10, 4, 100));
    QCOMPARE(fill->geometry(), QRect(28 + pane + next, 10, 400 - 28 - pane - next, 100));
    QVERIFY(fill->width() >= SplitterBar::kMinPane);
}

void tst_Controls::splitterReopensAClosedPane()
{
    QWidget host;
    host.resize(400, 100);
    QWidget* pane = docked(&host, "left", QRect(0, 0, 100, 100), "pane");
    auto* bar = new SplitterBar(&host);
    bar->setGeometry(100, 0, 4, 100);
    bar->setProperty("dock", QStringLiteral("left"));
    docked(&host, "fill", QRect(104, 0, 296, 100), "fill");
    DockLayout::installAll(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QCOMPARE(dragSplitter(bar, -80), 0);
    QCOMPARE(dragSplitter(bar, 50), 50);
    QCOMPARE(pane->width(), 50);
    // Nothing to the bar's left in the host: it resizes nothing and moves nothing.
    auto* lone = new SplitterBar(&host);
    QCOMPARE(lone->resizedPane(), nullptr);
}

void tst_Controls::stackingKeepsCreationOrderPerKind()
{
    QWidget parent;
    const QRect same(0, 0, 50, 50);
    auto make = [&](QWidget* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        w->setGeometry(same);
    };
    make(new ImageControl(&parent), "image1");
    make(new QLabel(&parent), "label1");
    make(new SpeedButton(&parent), "speed1");
    auto* panel = new QFrame(&parent);
    make(panel, "panel1");
    make(new SplitterBar(&parent), "splitter1");
    make(new Shape(&parent), "shape1");
    make(new QPushButton(&parent), "button1");
    make(new ImageControl(&parent), "image2");
    make(new QLabel(&parent), "label2");
    make(new ImageControl(panel), "inner image");
    make(new QLabel(panel), "inner label");
    make(new ImageControl(panel), "inner image2");

    FormSetup::applyStacking(&parent);
    QCOMPARE(stackingOf(&parent),
        (QStringList { "image1", "speed1", "splitter1", "shape1", "image2", "label1", "panel1",
            "button1", "label2" }));
    QCOMPARE(stackingOf(panel), (QStringList { "inner image", "inner image2", "inner label" }));
    QCOMPARE(parent.childAt(10, 10), parent.findChild<QLabel*>(QStringLiteral("label2")));
}

void tst_Controls::stackingLeavesGlyphsAboveFaces()
{
    QWidget window;
    window.resize(100, 100);
    auto* face = new ImageControl(&window);
    face->setGeometry(10, 10, 19, 18);
    auto* glyph = new ImageControl(&window);
    glyph->setGeometry(13, 12, 13, 13);
    auto* caption = new QLabel(&window);
    caption->setGeometry(60, 0, 30, 20);
    FormSetup::applyStacking(&window);
    QCOMPARE(window.childAt(15, 15), glyph);
    QCOMPARE(window.childAt(11, 11), face);
}

void tst_Controls::speedButtonGroup()
{
    QWidget bar;
    bar.resize(200, 30);
    QList<SpeedButton*> buttons;
    for (int i = 0; i < 3; ++i) {
        auto* button = new SpeedButton(&bar);
        button->setGeometry(1 + 28 * i, 4, 28, 22);
        button->setText(QStringLiteral("x %1").arg(i + 1));
        button->setGroupIndex(1);
        buttons << button;
    }
    buttons[0]->setChecked(true);
    auto* loose = new SpeedButton(&bar);
    loose->setGeometry(120, 4, 28, 22);
    auto* focusTaker = new QLineEdit(&bar);
    focusTaker->setGeometry(150, 4, 40, 22);
    FormSetup::groupSpeedButtons(&bar);
    bar.show();
    bar.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    focusTaker->setFocus();

    auto downs = [&] {
        QList<bool> state;
        for (const SpeedButton* b : std::as_const(buttons))
            state << b->isChecked();
        return state;
    };
    QCOMPARE(downs(), (QList<bool> { true, false, false }));
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    QCOMPARE(downs(), (QList<bool> { false, true, false }));
    // Clicking the one that is down leaves it down.
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    QCOMPARE(downs(), (QList<bool> { false, true, false }));
    QTest::mouseClick(buttons[2], Qt::LeftButton);
    QCOMPARE(downs(), (QList<bool> { false, false, true }));

    QVERIFY(!loose->isCheckable());
    QTest::mouseClick(loose, Qt::LeftButton);
    QVERIFY(!loose->isChecked());
    // Speed buttons never take the focus, not even when clicked.
    QCOMPARE(QApplication::focusWidget(), focusTaker);
}

void tst_Controls::speedButtonPictureIsColourKeyed()
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(QColor(0xFF, 0x00, 0xFF));
    picture.setPixelColor(8, 8, Qt::blue);
    SpeedButton button;
    button.setPicture(QPixmap::fromImage(picture));
    QCOMPARE(button.iconSize(), QSize(16, 16));
    const QImage shown = button.icon().pixmap(16, 16).toImage();
    QCOMPARE(qAlpha(shown.pixel(0, 15)), 0);
    QCOMPARE(qAlpha(shown.pixel(3, 3)), 0);
    QCOMPARE(shown.pixelColor(8, 8), QColor(Qt::blue));
}

void tst_Controls::scrollBoxFollowsContent()
{
    ScrollBox box;
    box.resize(100, 100);
    auto* content = new QWidget;
    auto* child = new ImageControl(content);
    child->setGeometry(10, 10, 50, 50);
    box.setWidget(content);
    box.followContent();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(content->size(), QSize(60, 60));
    QCOMPARE(box.horizontalScrollBar()->maximum(), 0);
    QCOMPARE(box.verticalScrollBar()->maximum(), 0);

    child->resize(200, 50);
    QTRY_COMPARE(content->size(), QSize(210, 60));
    QTRY_VERIFY(box.horizontalScrollBar()->maximum() > 0);
    QCOMPARE(box.verticalScrollBar()->maximum(), 0);
    QCOMPARE(box.focusPolicy(), Qt::NoFocus);
}

void tst_Controls::shapeAndToolBarPaint()
{
    Shape shape;
    shape.resize(45, 17);
    shape.setBrushBgr(13158600);
    QCOMPARE(shape.grab().toImage().pixelColor(20, 8), QColor(0xC8, 0xC8, 0xC8));

    ToolBar bar;
    bar.resize(100, 29);
    const QImage strip = bar.grab().toImage();
    const QColor dark = bar.palette().color(QPalette::Dark);
    const QColor light = bar.palette().color(QPalette::Light);
    // The etched edge: a dark line over a light one, along the top and along the bottom.
    QCOMPARE(strip.pixel(50, 0), dark.rgb());
    QCOMPARE(strip.pixel(50, 1), light.rgb());
    QCOMPARE(strip.pixel(50, 27), dark.rgb());
    QCOMPARE(strip.pixel(50, 28), light.rgb());
}

int main(int argc, char* argv[])
{
    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();
    tst_Controls test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_controls.moc"
