// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ImageControl;
class QLabel;

// The controls one sample window is composed of, as the load pass sees them.
struct SampleWindowView
{
    ImageControl* captionbarLeft = nullptr;
    ImageControl* captionbarRight = nullptr;
    ImageControl* captionbar = nullptr;
    ImageControl* framebottomLeft = nullptr;
    ImageControl* framebottomRight = nullptr;
    ImageControl* framebottom = nullptr;
    ImageControl* frameleft = nullptr;
    ImageControl* frameright = nullptr;
    QLabel* caption = nullptr;
    ImageControl* buttonClose = nullptr;
    ImageControl* buttonMaximize = nullptr;
    ImageControl* buttonMinimize = nullptr;
    ImageControl* buttonRestore = nullptr;
    ImageControl* glyphClose = nullptr;
    ImageControl* glyphMaximize = nullptr;
    ImageControl* glyphMinimize = nullptr;
    ImageControl* glyphRestore = nullptr;
};
