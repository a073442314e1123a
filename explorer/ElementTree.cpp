// SPDX-License-Identifier: GPL-3.0-or-later
#include "explorer/ElementTree.h"

#include "controls/ImageList.h"
#include "style/StyleFiles.h"

#include <QTreeWidget>

namespace {

using P = StyleFile::Piece;
using W = StyleFile::Window;
using S = StyleFile::Side;
using St = StyleFile::State;
using B = StyleFile::Button;

// Which style file a node shows, as the style table knows it; no file for groups and for
// elements a style gives no file of its own (the window titles, the button mask).
struct Shows
{
    enum class Kind { Nothing, Frame, Face, Glyph };
    Kind kind = Kind::Nothing;
    P piece = P::Mask;
    W window = W::Both;
    S side = S::None;
    B button = B::None;
    St state = St::None;
};

constexpr Shows frame(P piece, W window, S side = S::None)
{
    return { Shows::Kind::Frame, piece, window, side, B::None, St::None };
}

constexpr Shows face(St state)
{
    return { Shows::Kind::Face, P::ButtonFace, W::Both, S::None, B::None, state };
}

constexpr Shows glyph(B button, St state)
{
    return { Shows::Kind::Glyph, P::Glyph, W::Both, S::None, button, state };
}

struct Node
{
    int depth = 0;
    const char* caption = "";
    int image = 0;
    Shows shows = {};
};

// Depth-first, in display order; the depth gives the nesting.
const Node kWindowTree[] = {
    { 0, "Windows", 5 },
    { 1, "Captionbar Masks", 15 },
    { 2, "Captionbar Mask Left", 15, frame(P::Mask, W::Both, S::Left) },
    { 2, "Captionbar Mask Right", 15, frame(P::Mask, W::Both, S::Right) },
    { 1, "Active Frame", 5 },
    { 2, "Captionbar Left Active", 13, frame(P::CaptionCorner, W::Active, S::Left) },
    { 2, "Captionbar Right Active", 14, frame(P::CaptionCorner, W::Active, S::Right) },
    { 2, "Captionbar Active", 12, frame(P::CaptionBar, W::Active) },
    { 2, "Frame Left Active", 20, frame(P::SideEdge, W::Active) },
    { 2, "Frame Right Active", 21, frame(P::SideEdge, W::Active) },
    { 2, "FrameBottom Active", 17, frame(P::BottomEdge, W::Active) },
    { 2, "FrameBottom Left Active", 18, frame(P::BottomCorner, W::Active, S::Left) },
    { 2, "FrameBottom Right Active", 19, frame(P::BottomCorner, W::Active, S::Right) },
    { 2, "Window Title Active", 11 },
    { 1, "Inactive Frame", 5 },
    { 2, "Captionbar Left Inactive", 13, frame(P::CaptionCorner, W::Inactive, S::Left) },
    { 2, "Captionbar Right Inactive", 14, frame(P::CaptionCorner, W::Inactive, S::Right) },
    { 2, "Captionbar Inactive", 12, frame(P::CaptionBar, W::Inactive) },
    { 2, "Frame Left Inactive", 20, frame(P::SideEdge, W::Inactive) },
    { 2, "Frame Right Inactive", 21, frame(P::SideEdge, W::Inactive) },
    { 2, "FrameBottom Inactive", 17, frame(P::BottomEdge, W::Inactive) },
    { 2, "FrameBottom Left Inactive", 18, frame(P::BottomCorner, W::Inactive, S::Left) },
    { 2, "FrameBottom Right Inactive", 19, frame(P::BottomCorner, W::Inactive, S::Right) },
    { 2, "Window Title Inactive", 11 },
    { 1, "Caption Buttons", 4 },
    { 2, "Caption Button", 9 },
    { 3, "CaptionButton Mask", 15 },
    { 3, "CaptionButton Normal", 9, face(St::Normal) },
    { 3, "CaptionButton Over", 9, face(St::Over) },
    { 3, "CaptionButton Press", 9, face(St::Press) },
    { 2, "Button Glyphs", 10 },
    { 3, "Maximize", 7 },
    { 4, "Maximize Normal", 7, glyph(B::Maximize, St::Normal) },
    { 4, "Maximize Disable", 7, glyph(B::Maximize, St::Disable) },
    { 4, "Maximize Over", 7, glyph(B::Maximize, St::Over) },
    { 4, "Maximize Press", 7, glyph(B::Maximize, St::Press) },
    { 3, "Minimize", 8 },
    { 4, "Minimize Normal", 8, glyph(B::Minimize, St::Normal) },
    { 4, "Minimize Disable", 8, glyph(B::Minimize, St::Disable) },
    { 4, "Minimize Over", 8, glyph(B::Minimize, St::Over) },
    { 4, "Minimize Press", 8, glyph(B::Minimize, St::Press) },
    { 3, "Restore", 16 },
    { 4, "Restore Normal", 16, glyph(B::Restore, St::Normal) },
    { 4, "Restore Disable", 16, glyph(B::Restore, St::Disable) },
    { 4, "Restore Over", 16, glyph(B::Restore, St::Over) },
    { 4, "Restore Press", 16, glyph(B::Restore, St::Press) },
    { 3, "Close", 10 },
    { 4, "Close Normal", 10, glyph(B::Close, St::Normal) },
    { 4, "Close Disable", 10, glyph(B::Close, St::Disable) },
    { 4, "Close Over", 10, glyph(B::Close, St::Over) },
    { 4, "Close Press", 10, glyph(B::Close, St::Press) },
};

const char* fileShown(const Shows& shows)
{
    switch (shows.kind) {
    case Shows::Kind::Nothing:
        break;
    case Shows::Kind::Frame:
        return StyleFiles::name(shows.piece, shows.window, shows.side);
    case Shows::Kind::Face:
        return StyleFiles::faceFile(shows.state);
    case Shows::Kind::Glyph:
        return StyleFiles::glyphFile(shows.button, shows.state);
    }
    return nullptr;
}

QList<ElementTree::Node> makeNodes()
{
    QList<ElementTree::Node> list;
    for (const Node& node : kWindowTree)
        list.append({ node.depth, node.caption, node.image, fileShown(node.shows) });
    return list;
}

} // namespace

namespace ElementTree {

const QList<Node>& nodes()
{
    static const QList<Node> list = makeNodes();
    return list;
}

void build(QTreeWidget* tree, const ImageList& images)
{
    tree->clear();
    QTreeWidgetItem* parents[5] = {};
    for (const Node& node : nodes()) {
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
