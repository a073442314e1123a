// SPDX-License-Identifier: GPL-3.0-or-later
#include "review/StatesGrid.h"

#include "controls/ImageControl.h"
#include "preview/PreviewPanel.h"
#include "style/BitmapReader.h"
#include "style/ErrorText.h"
#include "style/StyleFiles.h"

#include <QHash>
#include <QPainter>

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

    StatesGrid::Cell take(Button button, State state)
    {
        StatesGrid::Cell cell;
        cell.button = button;
        cell.state = state;
        const bool focused = state != State::Disable;
        const Controls controls
            = controlsOf(focused ? m_panel.activeView() : m_panel.inactiveView(), button);
        // The pass gave the window its buttons only if it got that far.
        const auto [normalFace, normalGlyph] = filesOf(button, focused ? State::Normal : state);
        if (controls.face->sourcePath() != m_panel.state().file(normalFace)
            || controls.glyph->sourcePath() != m_panel.state().file(normalGlyph)) {
            cell.status = Status::Failed;
            cell.message = m_passFailure;
            return cell;
        }
        if (state == State::Normal || state == State::Disable) {
            cell.rect = rectOf(controls);
            const Row& row = this->row(focused);
            cell.picture = row.picture.copy(cell.rect.translated(-row.rect.topLeft()));
            return cell;
        }

        const auto [face, glyph] = filesOf(button, state);
        if (absentOptional(glyph, m_panel.state().file(glyph))) {
            cell.status = Status::Absent;
            return cell;
        }
        const QImage facePicture = controls.face->picture();
        const QImage glyphPicture = controls.glyph->picture();
        try {
            // The minimize button through its own handlers, as the window shows it.
            if (button == Button::Minimize) {
                m_panel.minimizeButton().show(state);
            } else {
                // The face of a state is the same file for every button: read once.
                const QByteArray facePath = m_panel.state().file(face);
                QImage& read = m_faces[facePath];
                if (read.isNull())
                    read = readBitmap(facePath);
                controls.face->setPicture(read, facePath);
                controls.glyph->loadFromFile(m_panel.state().file(glyph));
            }
            cell.rect = rectOf(controls);
            cell.picture = m_panel.grab(cell.rect).toImage();
        } catch (const std::exception& error) {
            cell.status = Status::Failed;
            cell.message = ErrorText::shown(error);
        }
        // Back to the normal look, so each cell shows its button alone in its state.
        controls.face->setPicture(facePicture, m_panel.state().file(normalFace));
        controls.glyph->setPicture(glyphPicture, m_panel.state().file(normalGlyph));
        return cell;
    }

private:
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
{
    Composer composer(dir);
    for (int b = 0; b < kButtons; ++b)
        for (int s = 0; s < kStates; ++s)
            m_cells.append(composer.take(Button(b), State(s)));
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
