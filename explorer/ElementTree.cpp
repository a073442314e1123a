// SPDX-License-Identifier: GPL-3.0-or-later
#include "explorer/ElementTree.h"

#include "controls/ImageList.h"

#include <QTreeWidget>

namespace {

struct Node
{
    int depth;
    const char* caption;
    int image;
};

// Depth-first, in display order; the depth gives the nesting.
const Node kWindowTree[] = {
    { 0, "Windows", 5 },
    { 1, "Captionbar Masks", 15 },
    { 2, "Captionbar Mask Left", 15 },
    { 2, "Captionbar Mask Right", 15 },
    { 1, "Active Frame", 5 },
    { 2, "Captionbar Left Active", 13 },
    { 2, "Captionbar Right Active", 14 },
    { 2, "Captionbar Active", 12 },
    { 2, "Frame Left Active", 20 },
    { 2, "Frame Right Active", 21 },
    { 2, "FrameBottom Active", 17 },
    { 2, "FrameBottom Left Active", 18 },
    { 2, "FrameBottom Right Active", 19 },
    { 2, "Window Title Active", 11 },
    { 1, "Inactive Frame", 5 },
    { 2, "Captionbar Left Inactive", 13 },
    { 2, "Captionbar Right Inactive", 14 },
    { 2, "Captionbar Inactive", 12 },
    { 2, "Frame Left Inactive", 20 },
    { 2, "Frame Right Inactive", 21 },
    { 2, "FrameBottom Inactive", 17 },
    { 2, "FrameBottom Left Inactive", 18 },
    { 2, "FrameBottom Right Inactive", 19 },
    { 2, "Window Title Inactive", 11 },
    { 1, "Caption Buttons", 4 },
    { 2, "Caption Button", 9 },
    { 3, "CaptionButton Mask", 15 },
    { 3, "CaptionButton Normal", 9 },
    { 3, "CaptionButton Over", 9 },
    { 3, "CaptionButton Press", 9 },
    { 2, "Button Glyphs", 10 },
    { 3, "Maximize", 7 },
    { 4, "Maximize Normal", 7 },
    { 4, "Maximize Disable", 7 },
    { 4, "Maximize Over", 7 },
    { 4, "Maximize Press", 7 },
    { 3, "Minimize", 8 },
    { 4, "Minimize Normal", 8 },
    { 4, "Minimize Disable", 8 },
    { 4, "Minimize Over", 8 },
    { 4, "Minimize Press", 8 },
    { 3, "Restore", 16 },
    { 4, "Restore Normal", 16 },
    { 4, "Restore Disable", 16 },
    { 4, "Restore Over", 16 },
    { 4, "Restore Press", 16 },
    { 3, "Close", 10 },
    { 4, "Close Normal", 10 },
    { 4, "Close Disable", 10 },
    { 4, "Close Over", 10 },
    { 4, "Close Press", 10 },
};

} // namespace

namespace ElementTree {

void build(QTreeWidget* tree, const ImageList& images)
{
    tree->clear();
    QTreeWidgetItem* parents[5] = {};
    for (const Node& node : kWindowTree) {
        auto* item = node.depth == 0 ? new QTreeWidgetItem(tree)
                                     : new QTreeWidgetItem(parents[node.depth - 1]);
        item->setText(0, QString::fromLatin1(node.caption));
        item->setIcon(0, images.icon(node.image));
        item->setData(0, ImageIndexRole, node.image);
        parents[node.depth] = item;
    }
    tree->expandAll();
}

} // namespace ElementTree
