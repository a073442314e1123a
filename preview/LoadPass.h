#pragma once

#include "preview/SampleWindowView.h"
#include "preview/StyleState.h"

#include <QString>

// Reads the style named by the style box's text and composes both sample windows from it.
// StyleDir is set first; the first file that cannot be read throws and ends the pass there,
// and everything done before it stays done.
void runLoadPass(StyleState& state, const QString& styleBoxText, const SampleWindowView& inactive,
    const SampleWindowView& active);
