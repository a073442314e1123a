// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArtKit.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace art {

QImage canvas(int width, int height, QRgb fill)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor::fromRgba(fill));
    return image;
}

void stamp(QImage& image, int left, int top, const Grid& rows, const Palette& palette)
{
    const size_t width = std::strlen(rows.front());
    for (size_t y = 0; y < rows.size(); ++y) {
        // A ragged row means a typing slip in the drawing; stop rather than write a wrong picture.
        if (std::strlen(rows[y]) != width)
            throw std::runtime_error("ragged picture row: " + std::string(rows[y]));
        for (size_t x = 0; x < width; ++x) {
            const char key = rows[y][x];
            if (key == '.')
                continue;
            const auto it = std::find_if(palette.begin(), palette.end(),
                [key](const auto& entry) { return entry.first == key; });
            if (it == palette.end())
                throw std::runtime_error(std::string("colour not in palette: ") + key);
            const int px = left + int(x);
            const int py = top + int(y);
            if (image.rect().contains(px, py))
                image.setPixel(px, py, it->second);
        }
    }
}

void fill(QImage& image, int left, int top, int width, int height, QRgb colour)
{
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            if (image.rect().contains(x, y))
                image.setPixel(x, y, colour);
        }
    }
}

QRgb mix(QRgb from, QRgb to, double amount)
{
    const auto channel = [amount](int a, int b) { return int(std::lround(a + (b - a) * amount)); };
    return qRgba(channel(qRed(from), qRed(to)), channel(qGreen(from), qGreen(to)),
        channel(qBlue(from), qBlue(to)), channel(qAlpha(from), qAlpha(to)));
}

QRgb gradientAt(const QGradientStops& stops, double position)
{
    if (position <= stops.front().first)
        return stops.front().second.rgba();
    for (int i = 1; i < stops.size(); ++i) {
        if (position <= stops[i].first) {
            const double span = stops[i].first - stops[i - 1].first;
            const double amount = span > 0 ? (position - stops[i - 1].first) / span : 1.0;
            return mix(stops[i - 1].second.rgba(), stops[i].second.rgba(), amount);
        }
    }
    return stops.back().second.rgba();
}

Output::Output(const QString& root)
    : m_root(QDir(root).absolutePath())
{ }

QString Output::prepare(const QString& path) const
{
    const QString full = m_root + QLatin1Char('/') + path;
    if (!QDir().mkpath(QFileInfo(full).absolutePath()))
        throw std::runtime_error("cannot create the folder of " + full.toStdString());
    return full;
}

static void write(const QString& full, const QImage& image, const char* format)
{
    QImageWriter writer(full, format);
    if (!writer.write(image))
        throw std::runtime_error(full.toStdString() + ": " + writer.errorString().toStdString());
}

void Output::saveOpaque(const QString& path, const QImage& image) const
{
    write(prepare(path), image.convertToFormat(QImage::Format_RGB888), "png");
}

void Output::saveWithAlpha(const QString& path, const QImage& image) const
{
    write(prepare(path), image.convertToFormat(QImage::Format_ARGB32), "png");
}

// Written here rather than through QImageWriter, whose 1-bit rows carry uninitialised padding
// bytes, so the same picture would come out different on every run.
void Output::saveMono(const QString& path, const QImage& image) const
{
    const int width = image.width();
    const int height = image.height();
    const int rowBytes = (width + 31) / 32 * 4;
    const quint32 pixelOffset = 14 + 40 + 2 * 4;
    const quint32 pixelBytes = quint32(rowBytes * height);

    QByteArray data;
    const auto put16 = [&data](quint32 value) {
        data.append(char(value & 0xff));
        data.append(char((value >> 8) & 0xff));
    };
    const auto put32 = [&put16](quint32 value) {
        put16(value & 0xffff);
        put16(value >> 16);
    };
    data.append("BM", 2);
    put32(pixelOffset + pixelBytes);
    put32(0);
    put32(pixelOffset);
    put32(40);
    put32(quint32(width));
    put32(quint32(height));
    put16(1);
    put16(1);
    put32(0);
    put32(pixelBytes);
    put32(3780);
    put32(3780);
    put32(2);
    put32(2);
    put32(0x00000000);
    put32(0x00ffffff);
    // Bottom-up rows, most significant bit first; index 1 is white.
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (qGray(image.pixel(x, y)) > 127)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        data += row;
    }

    QFile file(prepare(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        throw std::runtime_error(
            file.fileName().toStdString() + ": " + file.errorString().toStdString());
}

void Output::writeResourceList() const
{
    // The design pictures belong to the preview panel, the rest to the window: each layer
    // compiles its own list.
    const QString folder = m_root + QStringLiteral("/resources");
    QStringList design;
    QStringList window;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(folder).relativeFilePath(it.next());
        if (relative.endsWith(QLatin1String(".qrc")))
            continue;
        (relative.startsWith(QLatin1String("design/")) ? design : window) << relative;
    }
    writeList(folder + QStringLiteral("/preview.qrc"), design);
    writeList(folder + QStringLiteral("/app.qrc"), window);
}

void Output::writeList(const QString& path, QStringList files) const
{
    // Sorted so that the list comes out the same whatever order the file system gives.
    files.sort();
    QByteArray text = "<!DOCTYPE RCC>\n<!-- SPDX-License-Identifier: GPL-3.0-or-later -->\n"
                      "<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString& file : std::as_const(files))
        text += "    <file>" + file.toUtf8() + "</file>\n";
    text += "</qresource>\n</RCC>\n";

    QFile list(path);
    if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate) || list.write(text) != text.size())
        throw std::runtime_error(
            list.fileName().toStdString() + ": " + list.errorString().toStdString());
}

} // namespace art
