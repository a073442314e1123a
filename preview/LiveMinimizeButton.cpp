// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/LiveMinimizeButton.h"

#include "controls/ImageControl.h"
#include "style/AppError.h"

namespace {

struct Quiet : std::exception
{
    const char* what() const noexcept override { return "already reported"; }
};

} // namespace

LiveMinimizeButton::LiveMinimizeButton(
    const StyleState& state, ImageControl* face, ImageControl* glyph)
    : m_state(state)
    , m_face(face)
    , m_glyph(glyph)
{ }

void LiveMinimizeButton::hover()
{
    showQuietly(StyleFile::State::Over);
}

void LiveMinimizeButton::leave()
{
    showQuietly(StyleFile::State::Normal);
}

void LiveMinimizeButton::showQuietly(StyleFile::State state)
{
    try {
        load(m_face, StyleFiles::faceFile(state), true);
        load(m_glyph, StyleFiles::minimizeGlyphFile(state), true);
    } catch (const Quiet&) { }
}

void LiveMinimizeButton::show(StyleFile::State state)
{
    load(m_face, StyleFiles::faceFile(state), false);
    load(m_glyph, StyleFiles::minimizeGlyphFile(state), false);
}

void LiveMinimizeButton::load(ImageControl* image, const char* file, bool reportOnce)
{
    const QByteArray path = m_state.file(file);
    try {
        image->loadFromFile(path);
    } catch (const AppError& error) {
        if (!reportOnce)
            throw;
        auto known = m_reported.constFind(path);
        if (known != m_reported.cend() && *known == error.message())
            throw Quiet();
        m_reported.insert(path, error.message());
        throw;
    }
    m_reported.remove(path);
}
