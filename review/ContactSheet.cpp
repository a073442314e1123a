// SPDX-License-Identifier: GPL-3.0-or-later
#include "review/ContactSheet.h"

#include "explorer/ElementTree.h"
#include "style/BitmapReader.h"
#include "style/ColourKey.h"
#include "style/ErrorText.h"
#include "style/StyleCheck.h"

#include <QPainter>
#include <QSet>
#include <algorithm>

namespace {

using PictureKit::kPadding;
using Status = PictureKit::Status;

QString colourText(QRgb colour)
{
    return QColor(colour).name();
}

// The table's files in the order the tree first names them, each with the caption of the
// group naming it; tree nodes without a file give none.
QList<std::pair<const StyleFile*, QString>> filesInTreeOrder()
{
    QList<std::pair<const StyleFile*, QString>> files;
    QSet<const StyleFile*> seen;
    QString parents[8];
    for (const ElementTree::Node& node : ElementTree::nodes()) {
        parents[node.depth] = QString::fromLatin1(node.caption);
        if (!node.file)
            continue;
        const StyleFile* file = StyleFiles::find(node.file);
        if (!file || seen.contains(file))
            continue;
        seen.insert(file);
        files.append({ file, node.depth > 0 ? parents[node.depth - 1] : QString() });
    }
    return files;
}

constexpr int kSwatch = 10;
constexpr int kKeyLine = 3; // the line of describe() that names the colour key

// A cell's text and pictures, and the size they need.
struct Layout
{
    QImage magnified; // null when left out
    QStringList lines;
    QSize size;
};

Layout layoutOf(const ContactSheet::Cell& cell, int scale)
{
    const int line = PictureKit::lineHeight();
    Layout l;
    l.lines = ContactSheet::describe(cell, scale);
    int textWidth = 0;
    for (int i = 0; i < l.lines.size(); ++i)
        textWidth = std::max(textWidth, PictureKit::textWidth(l.lines[i], i == 0));
    if (cell.key)
        textWidth += kSwatch + 4;
    switch (cell.status) {
    case Status::Shown: {
        if (!ContactSheet::magnifiedLeftOut(cell, scale))
            l.magnified = PictureKit::magnified(cell.picture, scale);
        const int pictures
            = cell.picture.width() + (l.magnified.isNull() ? 0 : kPadding + l.magnified.width());
        const int high = std::max(cell.picture.height(), l.magnified.height());
        l.size = { 2 * kPadding + std::max(pictures, textWidth),
            3 * kPadding + high + int(l.lines.size()) * line };
        break;
    }
    case Status::Absent:
        l.size = { 2 * kPadding + textWidth, PictureKit::absentHeight(l.lines.first()) };
        break;
    case Status::Failed:
        l.size.setWidth(PictureKit::kMessageWidth);
        l.size.setHeight(PictureKit::failedHeight(l.lines[0], cell.message, l.size.width()));
        break;
    }
    return l;
}

// The file at its own size and magnified, over checkerboards, and its lines under them.
void paintShown(
    QPainter& painter, const QRect& box, const ContactSheet::Cell& cell, const Layout& l, int scale)
{
    const int line = PictureKit::lineHeight();
    painter.setPen(QColor(192, 192, 192));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    const QPoint at(box.x() + kPadding, box.y() + kPadding);
    PictureKit::paintCheckerboard(painter, QRect(at, cell.picture.size()), 2);
    painter.drawImage(at, cell.picture);
    int textTop = at.y() + cell.picture.height();
    if (!l.magnified.isNull()) {
        const QPoint magnifiedAt(at.x() + cell.picture.width() + kPadding, at.y());
        PictureKit::paintCheckerboard(painter, QRect(magnifiedAt, l.magnified.size()), 2 * scale);
        painter.drawImage(magnifiedAt, l.magnified);
        textTop = std::max(textTop, magnifiedAt.y() + l.magnified.height());
    }
    textTop += kPadding;
    for (int i = 0; i < l.lines.size(); ++i) {
        painter.setFont(PictureKit::font(i == 0));
        painter.setPen(Qt::black);
        painter.drawText(QRect(at.x(), textTop, box.width() - 2 * kPadding, line),
            Qt::AlignLeft | Qt::AlignVCenter, l.lines[i]);
        if (i == kKeyLine && cell.key) {
            const int swatchX = at.x() + PictureKit::textWidth(l.lines[i]) + 4;
            const QRect swatch(swatchX, textTop + (line - kSwatch) / 2, kSwatch, kSwatch);
            painter.fillRect(swatch, QColor(*cell.key));
            painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        }
        textTop += line;
    }
}

} // namespace

ContactSheet::ContactSheet(const QByteArray& dir)
{
    for (const auto& [file, group] : filesInTreeOrder()) {
        Cell cell;
        cell.file = file;
        cell.group = group;
        const QByteArray path = joinStylePath(dir, file->name);
        // The window never reads these; a style need not have them.
        if (file->reader == StyleFile::Reader::Nobody && PictureKit::absent(path)) {
            cell.status = Status::Absent;
            m_cells.append(cell);
            continue;
        }
        try {
            const QImage picture = readBitmap(path);
            cell.size = picture.size();
            if (file->keyed) {
                cell.key = ColourKey::of(picture);
                cell.picture = ColourKey::apply(picture);
            } else {
                cell.picture = picture;
            }
        } catch (const std::exception& error) {
            cell.status = Status::Failed;
            cell.message = ErrorText::shown(error);
        }
        m_cells.append(cell);
    }
}

QStringList ContactSheet::failures() const
{
    return PictureKit::failures(m_cells);
}

QString ContactSheet::drawingText(const StyleFile& file)
{
    switch (file.drawing) {
    case StyleFile::Drawing::Cut:
        return QStringLiteral("cut to %1 x %2").arg(file.width).arg(file.height);
    case StyleFile::Drawing::StretchedWide:
        return QStringLiteral("stretched to %1 high").arg(file.height);
    case StyleFile::Drawing::StretchedHigh:
        return QStringLiteral("stretched to %1 wide, on both side edges").arg(file.width);
    case StyleFile::Drawing::OwnSize:
        break;
    }
    return file.reader == StyleFile::Reader::Nobody ? QStringLiteral("own size, never drawn")
                                                    : QStringLiteral("own size");
}

bool ContactSheet::magnifiedLeftOut(const Cell& cell, int scale)
{
    return std::max(cell.size.width(), cell.size.height()) * scale > kLongestMagnified;
}

QStringList ContactSheet::describe(const Cell& cell, int scale)
{
    const QString name = QString::fromLatin1(cell.file->name);
    switch (cell.status) {
    case Status::Absent:
        return { name, PictureKit::absentText() };
    case Status::Failed:
        return { name, cell.message };
    case Status::Shown:
        break;
    }
    QStringList lines { name, sizeText(cell.size) + QStringLiteral(" pixels"),
        drawingText(*cell.file),
        cell.key ? QStringLiteral("colour key %1 left out").arg(colourText(*cell.key))
                 : QStringLiteral("no colour key") };
    if (magnifiedLeftOut(cell, scale))
        lines.append(QStringLiteral("%1x copy left out: longer than %2 pixels")
                         .arg(scale)
                         .arg(kLongestMagnified));
    return lines;
}

QImage ContactSheet::picture(int scale) const
{
    // Rows follow the tree's groups; each column is as wide as its widest cell.
    QList<QList<int>> rows;
    QStringList rowTitles;
    for (int i = 0; i < m_cells.size(); ++i) {
        if (rows.isEmpty() || rowTitles.last() != m_cells[i].group) {
            rows.append(QList<int>());
            rowTitles.append(m_cells[i].group);
        }
        rows.last().append(i);
    }
    QList<Layout> layouts;
    for (const Cell& cell : m_cells)
        layouts.append(layoutOf(cell, scale));
    int titleWidth = 0;
    for (const QString& title : rowTitles)
        titleWidth = std::max(titleWidth, PictureKit::textWidth(title, true));
    PictureKit::Grid grid(titleWidth + 2 * kPadding, 0, 0);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            grid.fit(r, c, layouts[rows[r][c]].size);

    QImage sheet(grid.size(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int r = 0; r < rows.size(); ++r) {
        painter.setPen(Qt::black);
        painter.setFont(PictureKit::font(true));
        painter.drawText(
            grid.title(r), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, rowTitles[r]);
        for (int c = 0; c < rows[r].size(); ++c) {
            const Cell& cell = m_cells[rows[r][c]];
            const Layout& l = layouts[rows[r][c]];
            const QRect box = grid.cell(r, c);
            if (cell.status == Status::Failed)
                PictureKit::paintFailed(painter, box, l.lines[0], cell.message);
            else if (cell.status == Status::Absent)
                PictureKit::paintAbsent(painter, box, l.lines[0]);
            else
                paintShown(painter, box, cell, l, scale);
        }
    }
    return sheet;
}
