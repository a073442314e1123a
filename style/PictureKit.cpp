// SPDX-License-Identifier: GPL-3.0-or-later
#include "style/PictureKit.h"

#include "style/ErrorText.h"

#include <QFontMetrics>
#include <QGuiApplication>
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

QFont boldFont()
{
    QFont font = QGuiApplication::font();
    font.setBold(true);
    return font;
}

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

QString messageOf(const std::exception& error)
{
    return ErrorText::format(ErrorText::messageOf(error));
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
    return QFontMetrics(QGuiApplication::font()).lineSpacing();
}

int textWidth(const QString& text, bool bold)
{
    return QFontMetrics(bold ? boldFont() : QGuiApplication::font()).horizontalAdvance(text);
}

QString absentText()
{
    return QStringLiteral("not in this style");
}

int failedHeight(const QString& name, const QString& message, int width)
{
    const int inner = width - 2 * kPadding;
    const int nameHeight = name.isEmpty() ? 0 : wrappedHeight(boldFont(), name, inner);
    return 2 * kPadding + nameHeight + lineHeight()
        + wrappedHeight(QGuiApplication::font(), message, inner);
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
        painter.setFont(boldFont());
        painter.drawText(QRectF(text), name, wrapping());
        text.setTop(text.top() + wrappedHeight(boldFont(), name, text.width()));
    }
    painter.setFont(boldFont());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("cannot be read:"));
    text.setTop(text.top() + lineHeight());
    painter.setFont(QGuiApplication::font());
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
        painter.setFont(boldFont());
        painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, name);
        text.setTop(text.top() + lineHeight());
    }
    painter.setFont(QGuiApplication::font());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, absentText());
    painter.restore();
}

} // namespace PictureKit
