// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/StatesGrid.h"

#include "controls/ImageControl.h"
#include "preview/PreviewPanel.h"
#include "style/BitmapReader.h"
#include "style/StyleCheck.h"
#include "style/StyleFiles.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <optional>

namespace {

using PictureKit::kPadding;
using Button = StatesGrid::Button;
using State = StatesGrid::State;
using Status = PictureKit::Status;

const char* const kButtonNames[] = { "minimize", "restore", "maximize", "close" };
const char* const kStateNames[] = { "normal", "over", "press", "disable" };

StyleFile::State fileState(State state)
{
    switch (state) {
    case State::Normal:
        break;
    case State::Over:
        return StyleFile::State::Over;
    case State::Press:
        return StyleFile::State::Press;
    case State::Disable:
        return StyleFile::State::Disable;
    }
    return StyleFile::State::Normal;
}

struct Controls
{
    ImageControl* face = nullptr;
    ImageControl* glyph = nullptr;
};

Controls controlsOf(const SampleWindowView& view, Button button)
{
    switch (button) {
    case Button::Minimize:
        break;
    case Button::Restore:
        return { view.buttonRestore, view.glyphRestore };
    case Button::Maximize:
        return { view.buttonMaximize, view.glyphMaximize };
    case Button::Close:
        return { view.buttonClose, view.glyphClose };
    }
    return { view.buttonMinimize, view.glyphMinimize };
}

// The face and glyph files a cell shows, as the style table names them.
std::pair<const char*, const char*> filesOf(Button button, State state)
{
    const char* face = StyleFiles::faceFile(
        state == State::Disable ? StyleFile::State::Normal : fileState(state));
    return { face, StyleFiles::glyphFile(kButtonNames[int(button)], fileState(state)) };
}

bool absentOptional(const char* name, const QByteArray& path)
{
    const StyleFile* file = StyleFiles::find(name);
    return file && file->reader == StyleFile::Reader::Nobody && PictureKit::absent(path);
}

class Composer
{
public:
    explicit Composer(const QByteArray& dir)
    {
        m_panel.resize(PreviewPanel::kSizeInWindow);
        try {
            m_panel.loadStyle(joinStylePath(dir, QByteArray()));
        } catch (const std::exception& error) {
            m_passFailure = PictureKit::messageOf(error);
        }
    }

    // The cells of one state, button by button.
    void take(State state, QList<StatesGrid::Cell>& cells)
    {
        if (state == State::Normal || state == State::Disable) {
            for (int b = 0; b < StatesGrid::kButtons; ++b)
                cells[b * StatesGrid::kStates + int(state)] = takeAsPassed(Button(b), state);
            return;
        }
        QList<Look> looks;
        for (int b = 0; b < StatesGrid::kButtons; ++b) {
            StatesGrid::Cell& cell = cells[b * StatesGrid::kStates + int(state)];
            cell = blank(Button(b), state);
            if (std::optional<Look> look = show(cell))
                looks.append(*look);
        }
        grab(looks);
        // Back to the normal look for the next state.
        for (const Look& look : looks)
            look.restore();
    }

private:
    // A button shown in a state: its cell, its controls and what they held before.
    struct Look
    {
        StatesGrid::Cell* cell = nullptr;
        Controls controls;
        QImage face, glyph; // the state's pictures
        QByteArray facePath, glyphPath;
        QImage normalFace, normalGlyph;
        QByteArray normalFacePath, normalGlyphPath;
        QRect normalRect; // of face and glyph, in the normal look

        void apply() const
        {
            controls.face->setPicture(face, facePath);
            controls.glyph->setPicture(glyph, glyphPath);
        }
        void restore() const
        {
            controls.face->setPicture(normalFace, normalFacePath);
            controls.glyph->setPicture(normalGlyph, normalGlyphPath);
        }
    };

    StatesGrid::Cell blank(Button button, State state) const
    {
        StatesGrid::Cell cell;
        cell.button = button;
        cell.state = state;
        return cell;
    }

    // The pass gave the window its buttons only if it got that far.
    bool passReached(const Controls& controls, Button button, bool focused) const
    {
        const auto [face, glyph] = filesOf(button, focused ? State::Normal : State::Disable);
        return controls.face->sourcePath() == m_panel.state().file(face)
            && controls.glyph->sourcePath() == m_panel.state().file(glyph);
    }

    StatesGrid::Cell takeAsPassed(Button button, State state)
    {
        StatesGrid::Cell cell = blank(button, state);
        const bool focused = state != State::Disable;
        const Controls controls
            = controlsOf(focused ? m_panel.activeView() : m_panel.inactiveView(), button);
        if (!passReached(controls, button, focused)) {
            cell.status = Status::Failed;
            cell.message = m_passFailure;
            return cell;
        }
        cell.rect = rectOf(controls);
        const Row& row = this->row(focused);
        cell.picture = row.picture.copy(cell.rect.translated(-row.rect.topLeft()));
        return cell;
    }

    // The cell's button in its state on the focused window; nothing when the cell has nothing to
    // show, its status said.
    std::optional<Look> show(StatesGrid::Cell& cell)
    {
        const Controls controls = controlsOf(m_panel.activeView(), cell.button);
        if (!passReached(controls, cell.button, true)) {
            cell.status = Status::Failed;
            cell.message = m_passFailure;
            return std::nullopt;
        }
        Look look { &cell, controls, {}, {}, {}, {}, controls.face->picture(),
            controls.glyph->picture(), controls.face->sourcePath(), controls.glyph->sourcePath(),
            rectOf(controls) };
        const auto [face, glyph] = filesOf(cell.button, cell.state);
        const QByteArray facePath = m_panel.state().file(face);
        try {
            // The minimize button through its own handlers, as the window shows it.
            if (cell.button == Button::Minimize) {
                m_panel.minimizeButton().show(cell.state == State::Over
                        ? LiveMinimizeButton::Look::Over
                        : LiveMinimizeButton::Look::Press);
            } else {
                // The face of a state is the same file for every button: read once.
                QImage& read = m_faces[facePath];
                if (read.isNull())
                    read = readBitmap(facePath);
                controls.face->setPicture(read, facePath);
                controls.glyph->loadFromFile(m_panel.state().file(glyph));
            }
        } catch (const std::exception& error) {
            // An optional glyph the style leaves out is no failure; only a failed read tells.
            if (absentOptional(glyph, m_panel.state().file(glyph))) {
                cell.status = Status::Absent;
            } else {
                cell.status = Status::Failed;
                cell.message = PictureKit::messageOf(error);
            }
            look.restore();
            return std::nullopt;
        }
        if (cell.button == Button::Minimize && controls.face->sourcePath() == facePath)
            m_faces.insert(facePath, controls.face->picture());
        look.face = controls.face->picture();
        look.glyph = controls.glyph->picture();
        look.facePath = controls.face->sourcePath();
        look.glyphPath = controls.glyph->sourcePath();
        return look;
    }

    // One grab for the whole row where no cell reaches another button in either look; where one
    // does, each cell is grabbed with only its own button in the state, so it shows that button
    // alone.
    void grab(const QList<Look>& looks)
    {
        QRect all;
        for (const Look& look : looks) {
            look.cell->rect = rectOf(look.controls);
            all |= look.cell->rect;
        }
        bool apart = true;
        for (const Look& look : looks)
            for (const Look& other : looks)
                apart = apart
                    && (&look == &other
                        || !(look.cell->rect.intersects(other.cell->rect)
                            || look.cell->rect.intersects(other.normalRect)));
        if (apart) {
            const QImage row = m_panel.grab(all).toImage();
            for (const Look& look : looks)
                look.cell->picture = row.copy(look.cell->rect.translated(-all.topLeft()));
            return;
        }
        for (const Look& look : looks)
            look.restore();
        for (const Look& look : looks) {
            look.apply();
            look.cell->picture = m_panel.grab(look.cell->rect).toImage();
            look.restore();
        }
        for (const Look& look : looks)
            look.apply();
    }

    // A window's four buttons as the pass left them, taken in one grab.
    struct Row
    {
        QRect rect;
        QImage picture;
    };

    QRect rectOf(const Controls& controls) const
    {
        const QRect face(controls.face->mapTo(&m_panel, QPoint()), controls.face->size());
        const QRect glyph(controls.glyph->mapTo(&m_panel, QPoint()), controls.glyph->size());
        return face | glyph;
    }

    const Row& row(bool focused)
    {
        Row& row = m_rows[focused ? 1 : 0];
        if (row.picture.isNull()) {
            const SampleWindowView view = focused ? m_panel.activeView() : m_panel.inactiveView();
            for (int b = 0; b < StatesGrid::kButtons; ++b)
                row.rect |= rectOf(controlsOf(view, Button(b)));
            row.picture = m_panel.grab(row.rect).toImage();
        }
        return row;
    }

    PreviewPanel m_panel;
    QString m_passFailure;
    Row m_rows[2];
    QHash<QByteArray, QImage> m_faces;
};

} // namespace

StatesGrid::StatesGrid(const QByteArray& dir)
    : m_cells(kButtons * kStates)
{
    Composer composer(dir);
    for (int s = 0; s < kStates; ++s)
        composer.take(State(s), m_cells);
}

QStringList StatesGrid::failures() const
{
    QStringList messages;
    for (const Cell& cell : m_cells)
        if (cell.status == Status::Failed && !messages.contains(cell.message))
            messages.append(cell.message);
    return messages;
}

QString StatesGrid::buttonName(Button button)
{
    return QString::fromLatin1(kButtonNames[int(button)]);
}

QString StatesGrid::stateName(State state)
{
    return QString::fromLatin1(kStateNames[int(state)]);
}

QImage StatesGrid::picture(int scale) const
{
    QList<int> columnWidths(kStates, 0);
    QList<int> rowHeights(kButtons, PictureKit::lineHeight());
    int titleWidth = 0;
    for (int b = 0; b < kButtons; ++b)
        titleWidth = std::max(titleWidth, PictureKit::textWidth(buttonName(Button(b)), true));
    titleWidth += 2 * kPadding;
    for (int s = 0; s < kStates; ++s)
        columnWidths[s] = PictureKit::textWidth(stateName(State(s)), true) + 2 * kPadding;
    for (const Cell& cell : m_cells) {
        int& width = columnWidths[int(cell.state)];
        int& height = rowHeights[int(cell.button)];
        switch (cell.status) {
        case Status::Shown:
            width = std::max(width, cell.rect.width() * scale + 2 * kPadding);
            height = std::max(height, cell.rect.height() * scale + 2 * kPadding);
            break;
        case Status::Absent:
            width = std::max(width, PictureKit::textWidth(PictureKit::absentText()) + 2 * kPadding);
            height = std::max(height, PictureKit::absentHeight(QString()));
            break;
        case Status::Failed:
            width = std::max(width, PictureKit::kMessageWidth);
            break;
        }
    }
    // A message wraps to its column's final width.
    for (const Cell& cell : m_cells)
        if (cell.status == Status::Failed)
            rowHeights[int(cell.button)] = std::max(rowHeights[int(cell.button)],
                PictureKit::failedHeight(QString(), cell.message, columnWidths[int(cell.state)]));

    const int headerHeight = PictureKit::lineHeight() + 2 * kPadding;
    int width = titleWidth + kPadding;
    for (int w : columnWidths)
        width += w + kPadding;
    int height = headerHeight + kPadding;
    for (int h : rowHeights)
        height += h + kPadding;

    QImage grid(width, height, QImage::Format_RGB32);
    grid.fill(Qt::white);
    QPainter painter(&grid);
    QFont bold = QGuiApplication::font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    QList<int> columnX;
    int x = titleWidth + kPadding;
    for (int s = 0; s < kStates; ++s) {
        columnX.append(x);
        painter.drawText(QRect(x, kPadding, columnWidths[s], headerHeight - kPadding),
            Qt::AlignHCenter | Qt::AlignTop, stateName(State(s)));
        x += columnWidths[s] + kPadding;
    }
    int y = headerHeight;
    for (int b = 0; b < kButtons; ++b) {
        painter.setFont(bold);
        painter.setPen(Qt::black);
        painter.drawText(QRect(kPadding, y, titleWidth - kPadding, rowHeights[b]),
            Qt::AlignLeft | Qt::AlignVCenter, buttonName(Button(b)));
        for (int s = 0; s < kStates; ++s) {
            const Cell& c = cell(Button(b), State(s));
            const QRect box(columnX[s], y, columnWidths[s], rowHeights[b]);
            if (c.status == Status::Failed) {
                PictureKit::paintFailed(painter, box, QString(), c.message);
                continue;
            }
            if (c.status == Status::Absent) {
                PictureKit::paintAbsent(painter, box, QString());
                continue;
            }
            painter.setPen(QColor(192, 192, 192));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            const QImage shown = PictureKit::magnified(c.picture, scale);
            painter.drawImage(box.x() + (box.width() - shown.width()) / 2,
                box.y() + (box.height() - shown.height()) / 2, shown);
        }
        y += rowHeights[b] + kPadding;
    }
    return grid;
}
