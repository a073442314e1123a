// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "preview/SampleWindowView.h"
#include "preview/StyleState.h"

#include <QByteArray>

// Reads the style in styleDir (8-bit, ending in "/") and composes both sample windows from it.
// StyleDir is set first; the first file that cannot be read throws and ends the pass there,
// and everything done before it stays done.
void runLoadPass(StyleState& state, const QByteArray& styleDir, const SampleWindowView& inactive,
    const SampleWindowView& active);
