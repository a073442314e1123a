// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// What both ports need to put a folder of files in place whole or not at all: the files written
// into a hidden folder first, which then takes the real one's place in one rename.
namespace WholeFolder {

// The folder and whatever it holds; symbolic links are removed, never followed. True when
// nothing is left by that name.
bool removeTree(const QByteArray& path);

// The file created (it must not exist) and written whole; false with errno set otherwise.
bool writeWhole(const QByteArray& path, const QByteArray& bytes);

// A folder that can be listed and holds nothing but "." and "..".
bool emptyFolder(const QByteArray& path);

} // namespace WholeFolder
