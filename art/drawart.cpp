// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArtKit.h"
#include "FrameArt.h"
#include "IconArt.h"

#include <QDir>
#include <cstdio>
#include <exception>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <repository root>\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    if (!QDir(root).exists()) {
        std::fprintf(stderr, "%s: no such folder\n", argv[1]);
        return 2;
    }
    try {
        const art::Output out(root);
        art::drawDesignPictures(out);
        art::drawWindowIcon(out);
        art::drawAppIcons(out);
        art::drawToolBar(out);
        art::drawImageLists(out);
        art::drawStyles(out);
        // Last, so the list names every picture the runs above wrote.
        out.writeResourceList();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drawart: %s\n", error.what());
        return 1;
    }
    return 0;
}
