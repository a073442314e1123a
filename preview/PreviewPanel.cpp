// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewPanel.h"

#include "controls/FormSetup.h"
#include "preview/LoadPass.h"

#include <QLabel>

// The design pictures live in the static library: nothing would pull them in otherwise.
static void initResources()
{
    Q_INIT_RESOURCE(preview);
}

PreviewPanel::PreviewPanel(QWidget* parent)
    : QFrame(parent)
{
    initResources();
    setupUi(this);
    finishForm();
    m_minimize.emplace(m_state, ActiveButtonMinimize, ActiveGlyphMinimize);
    // Every pass places the pieces by the sizes the form gave the sample windows, whatever size
    // the windows have by then.
    m_state.InactiveWidth = InactiveWindow->width();
    m_state.InactiveHeight = InactiveWindow->height();
    m_state.ActiveWidth = ActiveWindow->width();
    m_state.ActiveHeight = ActiveWindow->height();
}

void PreviewPanel::finishForm()
{
    FormSetup::apply(this);

    // The captions' design font until a pass gives them theirs: pixel sizes, which a Designer
    // font cannot hold.
    for (QLabel* label : { Label1, Label3 }) {
        label->setFont(FormSetup::x11Font(QStringLiteral("adobe-helvetica"), 14, true));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        palette.setColor(QPalette::ButtonText, Qt::black);
        label->setPalette(palette);
        label->adjustSize();
    }

    // The load pass paints each style's corners into these bitmaps rather than replacing them,
    // so they must exist even if a design picture could not be read.
    for (ImageControl* corner : { captionbar_left_inactive, captionbar_right_inactive,
             captionbar_left_active, captionbar_right_active }) {
        if (corner->picture().size() != QSize(12, 29)) {
            QImage own(12, 29, QImage::Format_RGB32);
            own.fill(Qt::black);
            corner->setPicture(own);
        }
    }
}

QSize PreviewPanel::panelSizeFor(QSize windowSize)
{
    return { windowSize.width() + 151, 2 * windowSize.height() + 125 };
}

void PreviewPanel::setSampleWindowSize(QSize size)
{
    const auto place = [size](QFrame* window, QPoint at, const SampleWindowView& view) {
        // The buttons keep their distance from the right edge, as a real frame's do.
        const int shift = size.width() - window->width();
        for (ImageControl* control :
            { view.buttonClose, view.buttonMaximize, view.buttonMinimize, view.buttonRestore,
                view.glyphClose, view.glyphMaximize, view.glyphMinimize, view.glyphRestore })
            control->move(control->x() + shift, control->y());
        window->setGeometry(QRect(at, size));
    };
    place(InactiveWindow, { 12, 12 }, inactiveView());
    place(ActiveWindow, { 112, 12 + size.height() + 19 }, activeView());
    m_state.InactiveWidth = m_state.ActiveWidth = size.width();
    m_state.InactiveHeight = m_state.ActiveHeight = size.height();
    resize(panelSizeFor(size));
}

SampleWindowView PreviewPanel::inactiveView() const
{
    return SampleWindowView { captionbar_left_inactive, captionbar_right_inactive,
        captionbar_inactive, framebottom_left_inactive, framebottom_right_inactive,
        framebottom_inactive, frameleft_inactive, frameright_inactive, Label1, InactiveButtonClose,
        InactiveButtonMaximize, InactiveButtonMinimize, InactiveButtonRestore, InactiveGlyphClose,
        InactiveGlyphMaximize, InactiveGlyphMinimize, InactiveGlyphRestore };
}

SampleWindowView PreviewPanel::activeView() const
{
    return SampleWindowView { captionbar_left_active, captionbar_right_active, captionbar_active,
        framebottom_left_active, framebottom_right_active, framebottom_active, frameleft_active,
        frameright_active, Label3, ActiveButtonClose, ActiveButtonMaximize, ActiveButtonMinimize,
        ActiveButtonRestore, ActiveGlyphClose, ActiveGlyphMaximize, ActiveGlyphMinimize,
        ActiveGlyphRestore };
}

void PreviewPanel::loadStyle(const QByteArray& styleDir)
{
    m_minimize->styleLoaded();
    runLoadPass(m_state, styleDir, inactiveView(), activeView());
}
