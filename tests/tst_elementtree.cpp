// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"
#include "WindowHarness.h"
#include "explorer/ElementTree.h"

#include <QtTest>

namespace {

// The catalogue as a style author reads it: indentation is nesting, the number the picture.
const char kExpected[] = R"(Windows 5
  Captionbar Masks 15
    Captionbar Mask Left 15
    Captionbar Mask Right 15
  Active Frame 5
    Captionbar Left Active 13
    Captionbar Right Active 14
    Captionbar Active 12
    Frame Left Active 20
    Frame Right Active 21
    FrameBottom Active 17
    FrameBottom Left Active 18
    FrameBottom Right Active 19
    Window Title Active 11
  Inactive Frame 5
    Captionbar Left Inactive 13
    Captionbar Right Inactive 14
    Captionbar Inactive 12
    Frame Left Inactive 20
    Frame Right Inactive 21
    FrameBottom Inactive 17
    FrameBottom Left Inactive 18
    FrameBottom Right Inactive 19
    Window Title Inactive 11
  Caption Buttons 4
    Caption Button 9
      CaptionButton Mask 15
      CaptionButton Normal 9
      CaptionButton Over 9
      CaptionButton Press 9
    Button Glyphs 10
      Maximize 7
        Maximize Normal 7
        Maximize Disable 7
        Maximize Over 7
        Maximize Press 7
      Minimize 8
        Minimize Normal 8
        Minimize Disable 8
        Minimize Over 8
        Minimize Press 8
      Restore 16
        Restore Normal 16
        Restore Disable 16
        Restore Over 16
        Restore Press 16
      Close 10
        Close Normal 10
        Close Disable 10
        Close Over 10
        Close Press 10
)";

struct TreeDump
{
    QString text;
    int nodes = 0;
    int collapsed = 0;
};

void dump(QTreeWidgetItem* item, int depth, TreeDump& out)
{
    out.text += QString(depth * 2, QLatin1Char(' ')) + item->text(0) + QLatin1Char(' ')
        + QString::number(item->data(0, ElementTree::ImageIndexRole).toInt()) + QLatin1Char('\n');
    ++out.nodes;
    if (item->childCount() > 0 && !item->isExpanded())
        ++out.collapsed;
    for (int i = 0; i < item->childCount(); ++i)
        dump(item->child(i), depth + 1, out);
}

TreeDump dumpTree(QTreeWidget* tree)
{
    TreeDump out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        dump(tree->topLevelItem(i), 0, out);
    return out;
}

} // namespace

class tst_ElementTree : public QObject
{
    Q_OBJECT

private slots:
    void standsFullyExpandedAfterStartUp();
    void showsTheListedPictures();
    void rebuildsWhenWindowsIsSelectedAgain();
    void otherCategoriesLeaveTheNodes();
    void selectingANodeChangesNothingElse();
};

void tst_ElementTree::standsFullyExpandedAfterStartUp()
{
    WindowHarness h;
    QCOMPARE(h.frm->TreeView->topLevelItemCount(), 1);
    const TreeDump tree = dumpTree(h.frm->TreeView);
    QCOMPARE(tree.text, QString::fromLatin1(kExpected));
    QCOMPARE(tree.nodes, 51);
    QCOMPARE(tree.collapsed, 0);
}

void tst_ElementTree::showsTheListedPictures()
{
    WindowHarness h;
    const ImageList& images = h.frm->imageList3();
    QCOMPARE(images.count(), 22);
    QTreeWidgetItemIterator it(h.frm->TreeView);
    for (; *it; ++it) {
        const int index = (*it)->data(0, ElementTree::ImageIndexRole).toInt();
        const QImage shown
            = (*it)->icon(0).pixmap(16, 16).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, images.image(index).toImage().convertToFormat(QImage::Format_RGB32));
    }
}

void tst_ElementTree::rebuildsWhenWindowsIsSelectedAgain()
{
    WindowHarness h;
    QTreeWidget* tree = h.frm->TreeView;
    for (int round = 0; round < 3; ++round) {
        tree->topLevelItem(0)->child(1)->setExpanded(false);
        tree->setCurrentItem(tree->topLevelItem(0)->child(2));
        h.frm->ivObjects->setCurrentRow(1);
        QCOMPARE(dumpTree(tree).collapsed, 1);
        h.frm->ivObjects->setCurrentRow(0);
        const TreeDump rebuilt = dumpTree(tree);
        QCOMPARE(rebuilt.nodes, 51);
        QCOMPARE(rebuilt.collapsed, 0);
        QCOMPARE(tree->currentItem(), nullptr);
    }
}

void tst_ElementTree::otherCategoriesLeaveTheNodes()
{
    WindowHarness h;
    QTreeWidgetItem* root = h.frm->TreeView->topLevelItem(0);
    for (int row : { 2, 3, 4, 1 }) {
        h.frm->ivObjects->setCurrentRow(row);
        QCOMPARE(h.frm->TreeView->topLevelItem(0), root);
    }
    StyleFixture style;
    style.writeAll();
    h.chooseStyle(style.dir());
    QCOMPARE(h.frm->TreeView->topLevelItem(0), root);
}

void tst_ElementTree::selectingANodeChangesNothingElse()
{
    StyleFixture style;
    style.writeAll();
    WindowHarness h;
    h.chooseStyle(style.dir());
    const QByteArray face = h.frm->ActiveButtonMinimize->sourcePath();
    QTreeWidgetItemIterator it(h.frm->TreeView);
    for (; *it; ++it) {
        h.frm->TreeView->setCurrentItem(*it);
        h.frm->TreeView->collapseItem(*it);
    }
    QCOMPARE(h.frm->ActiveButtonMinimize->sourcePath(), face);
    QCOMPARE(h.frm->lblBitmap->text(), QStringLiteral("lblBitmap"));
    QCOMPARE(h.frm->state().StyleDir, style.dirBytes());
    QCOMPARE(h.reports, QStringList());
}

QTEST_MAIN(tst_ElementTree)
#include "tst_elementtree.moc"
