// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "review/PictureKit.h"
#include "style/StyleFiles.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// Every caption button in every state on one picture, each cell cut from a preview panel the
// load pass composed: the state's face with its glyph at the form's offsets, over the caption
// bar of the window that shows it (disable: the unfocused window, as it draws its buttons on
// the normal face; the other states: the focused window).
class StatesGrid
{
public:
    using Button = StyleFile::Button;
    using State = StyleFile::State;
    static constexpr int kButtons = StyleFiles::kButtons;
    static constexpr int kStates = StyleFiles::kButtonStates;
    static constexpr int kDefaultScale = 1;
    static constexpr int kLargestScale = 8;

    struct Cell
    {
        Button button = Button::Minimize;
        State state = State::Normal;
        PictureKit::Status status = PictureKit::Status::Shown;
        QRect rect; // the union of face and glyph, in the panel (PreviewPanel::kSizeInWindow)
        QImage picture; // the panel's pixels there; Shown only
        QString message; // Failed: the window's message
    };

    // Composes dir once and takes every cell; never throws. dir is joined with the names by
    // exactly one '/'.
    explicit StatesGrid(const QByteArray& dir);

    const QList<Cell>& cells() const { return m_cells; } // button by button, states in order
    const Cell& cell(Button button, State state) const
    {
        return m_cells[int(button) * kStates + int(state)];
    }
    // The distinct messages of the failed cells, in cell order.
    QStringList failures() const;

    QImage picture(int scale) const;

private:
    QList<Cell> m_cells;
};
