// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/LiveMinimizeButton.h"

#include "controls/ImageControl.h"
#include "style/AppError.h"
#include "style/StyleFiles.h"

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

namespace {

StyleFile::State stateOf(LiveMinimizeButton::Look look)
{
    switch (look) {
    case LiveMinimizeButton::Look::Over:
        return StyleFile::State::Over;
    case LiveMinimizeButton::Look::Press:
        return StyleFile::State::Press;
    case LiveMinimizeButton::Look::Normal:
        break;
    }
    return StyleFile::State::Normal;
}

} // namespace

const char* LiveMinimizeButton::faceFile(Look look)
{
    return StyleFiles::faceFile(stateOf(look));
}

const char* LiveMinimizeButton::glyphFile(Look look)
{
    return StyleFiles::minimizeGlyphFile(stateOf(look));
}

void LiveMinimizeButton::hover()
{
    showQuietly(Look::Over);
}

void LiveMinimizeButton::leave()
{
    showQuietly(Look::Normal);
}

void LiveMinimizeButton::showQuietly(Look look)
{
    try {
        load(m_face, faceFile(look), true);
        load(m_glyph, glyphFile(look), true);
    } catch (const Quiet&) { }
}

void LiveMinimizeButton::show(Look look)
{
    load(m_face, faceFile(look), false);
    load(m_glyph, glyphFile(look), false);
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
