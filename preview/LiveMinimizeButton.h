// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "preview/StyleState.h"
#include "style/StyleFiles.h"

#include <QHash>
#include <QString>

class ImageControl;

// The focused sample window's minimize button: its face and glyph reload the style's normal,
// over or press bitmaps at each event. It has no look of its own to remember; what it keeps is
// which hover failures it has already reported, so that a missing over or normal file raises
// one message, not one per pointer movement.
class LiveMinimizeButton
{
public:
    LiveMinimizeButton(const StyleState& state, ImageControl* face, ImageControl* glyph);

    // Movement and leave: a failure already reported since the last load pass is dropped
    // silently (the remaining steps are skipped all the same).
    void hover();
    void leave();
    // Press and release report every failure. state is Normal, Over or Press.
    void show(StyleFile::State state);

    // A load pass has run: every failure may be reported again.
    void styleLoaded() { m_reported.clear(); }

private:
    void load(ImageControl* image, const char* file, bool reportOnce);
    void showQuietly(StyleFile::State state);

    const StyleState& m_state;
    ImageControl* m_face = nullptr;
    ImageControl* m_glyph = nullptr;
    QHash<QByteArray, QString> m_reported;
};
