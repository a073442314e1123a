// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ImageList;
class QTreeWidget;

#include <QList>
#include <Qt>

namespace ElementTree {

struct Node
{
    int depth = 0; // 0 for the root
    const char* caption = "";
    int image = 0; // index into the tree's image list
    // The style file the element is drawn from, or null: groups, the window titles and the
    // button mask have none. Both side edges name the left-edge file.
    const char* file = nullptr;
};

// The catalogue as data, depth-first in display order: what the tree shows, and the order in
// which a style's files are first named.
const QList<Node>& nodes();

// Each node's index into the tree's image list, kept as the node's own record of its picture.
inline constexpr int ImageIndexRole = Qt::UserRole;

// Rebuilds the catalogue of a style's frame elements from nothing, fully expanded.
void build(QTreeWidget* tree, const ImageList& images);

} // namespace ElementTree
