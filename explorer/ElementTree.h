// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ImageList;
class QTreeWidget;

#include <Qt>

namespace ElementTree {

// Each node's index into the tree's image list, kept as the node's own record of its picture.
inline constexpr int ImageIndexRole = Qt::UserRole;

// Rebuilds the catalogue of a style's frame elements from nothing, fully expanded.
void build(QTreeWidget* tree, const ImageList& images);

} // namespace ElementTree
