// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "preview/LiveMinimizeButton.h"
#include "preview/SampleWindowView.h"
#include "preview/StyleState.h"
#include "ui_PreviewPanel.h"

#include <QByteArray>
#include <QFrame>
#include <QSize>
#include <optional>

// The "Preview" page's backdrop with the two sample windows, whole on its own: the main window
// places it as Panel6, and the command line builds the same widget offscreen and grabs it. It
// keeps the style directory and the sample window sizes recorded at creation, and the live
// minimize button of the focused window.
class PreviewPanel : public QFrame, public Ui::PreviewPanel
{
    Q_OBJECT

public:
    // The size the main window lays the panel out at when the window has its stored size.
    static constexpr QSize kSizeInWindow { 548, 611 };
    // The sample window sizes a render may ask for: from the left corner plus the focused
    // window's row of buttons by the caption, one row and the bottom edge, to a size whose
    // panel Qt's reader can still read back.
    static constexpr QSize kSmallestWindow { 113, 38 };
    static constexpr QSize kLargestWindow { 3840, 2160 };

    // The panel that holds both sample windows at windowSize.
    static QSize panelSizeFor(QSize windowSize);

    explicit PreviewPanel(QWidget* parent = nullptr);

    StyleState& state() { return m_state; }
    const StyleState& state() const { return m_state; }
    LiveMinimizeButton& minimizeButton() { return *m_minimize; }

    SampleWindowView inactiveView() const;
    SampleWindowView activeView() const;

    // Both sample windows at size in place of the form's: the inactive one at (12, 12), the
    // active one 100 to the right and 19 below it, each window's caption buttons and glyphs
    // moved with its right edge, the panel resized to hold them. Before the first load pass.
    void setSampleWindowSize(QSize size);

    // The load pass over styleDir (8-bit, ending in "/"); throws at the first file it cannot read.
    void loadStyle(const QByteArray& styleDir);

private:
    void finishForm();

    StyleState m_state;
    std::optional<LiveMinimizeButton> m_minimize; // needs the form's controls
};
