// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QString>

// Decoded pixels, not file bytes: an encoder's choice of filter or compression level is no
// change of a picture. The colour of a transparent pixel counts, since a colour key may pick it.
// Returns why the two differ, or an empty string when every pixel is the same.
inline QString pixelDifference(const QString& madePath, const QString& committedPath)
{
    QImageReader madeReader(madePath);
    QImageReader committedReader(committedPath);
    const QImage made = madeReader.read().convertToFormat(QImage::Format_ARGB32);
    const QImage committed = committedReader.read().convertToFormat(QImage::Format_ARGB32);
    if (made.isNull())
        return QStringLiteral("the new picture cannot be read: ") + madeReader.errorString();
    if (committed.isNull())
        return QStringLiteral("the committed picture cannot be read: ")
            + committedReader.errorString();
    if (made.size() != committed.size())
        return QStringLiteral("%1x%2 made, %3x%4 committed")
            .arg(made.width())
            .arg(made.height())
            .arg(committed.width())
            .arg(committed.height());
    qsizetype count = 0;
    QPoint first;
    for (int y = 0; y < made.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(made.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(committed.constScanLine(y));
        for (int x = 0; x < made.width(); ++x) {
            if (a[x] != b[x] && count++ == 0)
                first = QPoint(x, y);
        }
    }
    if (count == 0)
        return {};
    const auto hex = [](QRgb pixel) { return QColor::fromRgba(pixel).name(QColor::HexArgb); };
    const QString counted = count == 1 ? QStringLiteral("1 pixel differs")
                                       : QStringLiteral("%1 pixels differ").arg(count);
    return QStringLiteral("%1, the first at (%2, %3): %4 made, %5 committed")
        .arg(counted)
        .arg(first.x())
        .arg(first.y())
        .arg(hex(made.pixel(first)), hex(committed.pixel(first)));
}
