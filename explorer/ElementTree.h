#pragma once

class ImageList;
class QTreeWidget;

namespace ElementTree {

// Rebuilds the catalogue of a style's frame elements from nothing, fully expanded.
void build(QTreeWidget* tree, const ImageList& images);

} // namespace ElementTree
