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

    explicit PreviewPanel(QWidget* parent = nullptr);

    StyleState& state() { return m_state; }
    const StyleState& state() const { return m_state; }
    LiveMinimizeButton& minimizeButton() { return *m_minimize; }

    SampleWindowView inactiveView() const;
    SampleWindowView activeView() const;

    // The load pass over styleDir (8-bit, ending in "/"); throws at the first file it cannot read.
    void loadStyle(const QByteArray& styleDir);

private:
    void finishForm();

    StyleState m_state;
    std::optional<LiveMinimizeButton> m_minimize; // needs the form's controls
};
