#include "preview/LiveMinimizeButton.h"

#include "controls/AppError.h"
#include "controls/ImageControl.h"

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

const char* LiveMinimizeButton::faceFile(Look look)
{
    switch (look) {
    case Look::Over:
        return "captionbutton_over.png";
    case Look::Press:
        return "captionbutton_press.png";
    case Look::Normal:
        break;
    }
    return "captionbutton_normal.png";
}

const char* LiveMinimizeButton::glyphFile(Look look)
{
    switch (look) {
    case Look::Over:
        return "minimize_active_over.png";
    case Look::Press:
        return "minimize_active_press.png";
    case Look::Normal:
        break;
    }
    return "minimize_active_normal.png";
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
