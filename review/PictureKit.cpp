// SPDX-License-Identifier: GPL-3.0-or-later
#include "review/PictureKit.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QTextOption>
#include <QtMath>
#include <cerrno>
#include <sys/stat.h>

namespace {

const QColor kFailedFill(255, 224, 224);
const QColor kFailedInk(200, 0, 0);
const QColor kAbsentInk(120, 120, 120);
constexpr int kFailedBorder = 3;

QRect textArea(const QRect& area)
{
    return area.adjusted(
        PictureKit::kPadding, PictureKit::kPadding, -PictureKit::kPadding, -PictureKit::kPadding);
}

// Words where they fit, a long path wherever it must break.
QTextOption wrapping()
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

int wrappedHeight(const QFont& font, const QString& text, int width)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    painter.setFont(font);
    return qCeil(painter.boundingRect(QRectF(0, 0, width, 0), text, wrapping()).height());
}

} // namespace

namespace PictureKit {

QFont font(bool bold)
{
    QFont chosen = QGuiApplication::font();
    chosen.setBold(bold);
    return chosen;
}

Grid::Grid(int titleWidth, int headerHeight, int columnsIndent)
    : m_titleWidth(titleWidth)
    , m_headerHeight(headerHeight)
    , m_columnsIndent(columnsIndent)
{ }

void Grid::fit(int row, int column, QSize size)
{
    while (m_rowHeights.size() <= row)
        m_rowHeights.append(0);
    while (m_columnWidths.size() <= column)
        m_columnWidths.append(0);
    m_rowHeights[row] = std::max(m_rowHeights[row], size.height());
    m_columnWidths[column] = std::max(m_columnWidths[column], size.width());
}

QSize Grid::size() const
{
    int width = m_titleWidth + kPadding;
    for (int w : m_columnWidths)
        width += w + kPadding;
    int height = m_headerHeight + kPadding;
    for (int h : m_rowHeights)
        height += h + kPadding;
    return { width, height };
}

QRect Grid::header(int column) const
{
    int x = m_titleWidth + m_columnsIndent;
    for (int c = 0; c < column; ++c)
        x += m_columnWidths[c] + kPadding;
    return { x, kPadding, columnWidth(column), m_headerHeight - kPadding };
}

QRect Grid::cell(int row, int column) const
{
    int y = m_headerHeight > 0 ? m_headerHeight : kPadding;
    for (int r = 0; r < row; ++r)
        y += m_rowHeights[r] + kPadding;
    const QRect top = header(column);
    return { top.x(), y, top.width(), rowHeight(row) };
}

QRect Grid::title(int row) const
{
    const QRect first = cell(row, 0);
    return { kPadding, first.y(), m_titleWidth - kPadding, first.height() };
}

bool absent(const QByteArray& path)
{
    struct stat info;
    return ::stat(path.constData(), &info) != 0 && errno == ENOENT;
}

QImage magnified(const QImage& picture, int scale)
{
    return picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void paintCheckerboard(QPainter& painter, const QRect& area, int square)
{
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, QColor(255, 255, 255));
    for (int y = area.top(); y <= area.bottom(); y += square)
        for (int x = area.left() + ((y - area.top()) / square % 2) * square; x <= area.right();
             x += 2 * square)
            painter.fillRect(x, y, square, square, QColor(204, 204, 204));
    painter.restore();
}

int lineHeight()
{
    return QFontMetrics(font()).lineSpacing();
}

int textWidth(const QString& text, bool bold)
{
    return QFontMetrics(font(bold)).horizontalAdvance(text);
}

QString absentText()
{
    return QStringLiteral("not in this style");
}

int failedHeight(const QString& name, const QString& message, int width)
{
    const int inner = width - 2 * kPadding;
    const int nameHeight = name.isEmpty() ? 0 : wrappedHeight(font(true), name, inner);
    return 2 * kPadding + nameHeight + lineHeight() + wrappedHeight(font(), message, inner);
}

int absentHeight(const QString& name)
{
    return 2 * kPadding + (name.isEmpty() ? 1 : 2) * lineHeight();
}

void paintFailed(QPainter& painter, const QRect& area, const QString& name, const QString& message)
{
    painter.save();
    painter.fillRect(area, kFailedFill);
    painter.setPen(QPen(kFailedInk, kFailedBorder));
    painter.drawRect(area.adjusted(1, 1, -2, -2));
    QRect text = textArea(area);
    if (!name.isEmpty()) {
        painter.setFont(font(true));
        painter.drawText(QRectF(text), name, wrapping());
        text.setTop(text.top() + wrappedHeight(font(true), name, text.width()));
    }
    painter.setFont(font(true));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("cannot be read:"));
    text.setTop(text.top() + lineHeight());
    painter.setFont(font());
    painter.drawText(QRectF(text), message, wrapping());
    painter.restore();
}

void paintAbsent(QPainter& painter, const QRect& area, const QString& name)
{
    painter.save();
    painter.setPen(QPen(kAbsentInk, 1, Qt::DashLine));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    QRect text = textArea(area);
    if (!name.isEmpty()) {
        painter.setFont(font(true));
        painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, name);
        text.setTop(text.top() + lineHeight());
    }
    painter.setFont(font());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, absentText());
    painter.restore();
}

bool encode(QImageWriter& writer, const QImage& picture)
{
    // Qt's AVX2 painting routines (QImage::fill among them) return with the upper halves of the
    // vector registers still dirty. zlib and libpng are plain SSE code, and measured on an AMD
    // EPYC they then encode about a fifth slower, half a millisecond on a states grid, until
    // the registers are cleared.
#if defined(__x86_64__)
    // Every vector register named clobbered, so a build that uses AVX itself keeps nothing
    // there across the instruction.
    if (__builtin_cpu_supports("avx"))
        __asm__ volatile("vzeroupper" ::
                             : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7",
                         "xmm8", "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
#endif
    return writer.write(picture);
}

QByteArray encoded(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!encode(writer, picture))
        return {};
    return bytes;
}

} // namespace PictureKit
