// SPDX-License-Identifier: GPL-3.0-or-later
#include "review/StatesGrid.h"

#include "controls/ImageControl.h"
#include "preview/PreviewPanel.h"
#include "style/BitmapReader.h"
#include "style/ErrorText.h"
#include "style/StyleFiles.h"

#include <QHash>
#include <QPainter>
#include <optional>

namespace {

using PictureKit::kPadding;
using Button = StatesGrid::Button;
using State = StatesGrid::State;
using Status = PictureKit::Status;

struct Controls
{
    ImageControl* face = nullptr;
    ImageControl* glyph = nullptr;
};

Controls controlsOf(const SampleWindowView& view, Button button)
{
    switch (button) {
    case Button::Minimize:
    case Button::None:
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
    const char* face = StyleFiles::faceFile(state == State::Disable ? State::Normal : state);
    return { face, StyleFiles::glyphFile(button, state) };
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
            m_passFailure = ErrorText::shown(error);
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
                m_panel.minimizeButton().show(cell.state);
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
                cell.message = ErrorText::shown(error);
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

QString buttonTitle(Button button)
{
    return QString::fromLatin1(StyleFiles::buttonName(button));
}

QString stateTitle(State state)
{
    return QString::fromLatin1(StyleFiles::stateName(state));
}

// The room a cell needs before messages wrap.
QSize cellSize(const StatesGrid::Cell& cell, int scale)
{
    switch (cell.status) {
    case Status::Shown:
        return cell.rect.size() * scale + QSize(2 * kPadding, 2 * kPadding);
    case Status::Absent:
        return { PictureKit::textWidth(PictureKit::absentText()) + 2 * kPadding,
            PictureKit::absentHeight(QString()) };
    case Status::Failed:
        break;
    }
    return { PictureKit::kMessageWidth, 0 };
}

void paintCell(QPainter& painter, const QRect& box, const StatesGrid::Cell& cell, int scale)
{
    if (cell.status == Status::Failed) {
        PictureKit::paintFailed(painter, box, QString(), cell.message);
        return;
    }
    if (cell.status == Status::Absent) {
        PictureKit::paintAbsent(painter, box, QString());
        return;
    }
    painter.setPen(QColor(192, 192, 192));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    const QImage shown = PictureKit::magnified(cell.picture, scale);
    painter.drawImage(box.x() + (box.width() - shown.width()) / 2,
        box.y() + (box.height() - shown.height()) / 2, shown);
}

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
    return PictureKit::failures(m_cells);
}

QImage StatesGrid::picture(int scale) const
{
    int titleWidth = 0;
    for (int b = 0; b < kButtons; ++b)
        titleWidth = std::max(titleWidth, PictureKit::textWidth(buttonTitle(Button(b)), true));
    PictureKit::Grid grid(
        titleWidth + 2 * kPadding, PictureKit::lineHeight() + 2 * kPadding, kPadding);
    for (int s = 0; s < kStates; ++s)
        grid.fit(0, s, { PictureKit::textWidth(stateTitle(State(s)), true) + 2 * kPadding, 0 });
    for (int b = 0; b < kButtons; ++b)
        grid.fit(b, 0, { 0, PictureKit::lineHeight() });
    for (const Cell& c : m_cells)
        grid.fit(int(c.button), int(c.state), cellSize(c, scale));
    // A message wraps to its column's final width.
    for (const Cell& c : m_cells)
        if (c.status == Status::Failed)
            grid.fit(int(c.button), int(c.state),
                { 0,
                    PictureKit::failedHeight(
                        QString(), c.message, grid.columnWidth(int(c.state))) });

    QImage picture(grid.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(PictureKit::font(true));
    painter.setPen(Qt::black);
    for (int s = 0; s < kStates; ++s)
        painter.drawText(grid.header(s), Qt::AlignHCenter | Qt::AlignTop, stateTitle(State(s)));
    for (int b = 0; b < kButtons; ++b) {
        painter.setFont(PictureKit::font(true));
        painter.setPen(Qt::black);
        painter.drawText(grid.title(b), Qt::AlignLeft | Qt::AlignVCenter, buttonTitle(Button(b)));
        for (int s = 0; s < kStates; ++s)
            paintCell(painter, grid.cell(b, s), cell(Button(b), State(s)), scale);
    }
    return picture;
}
