// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBrush>
#include <QImage>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace art {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kMagenta = 0xffff00ff;

// A picture written as rows of characters; each character names a colour of the palette and '.'
// leaves the pixel underneath alone.
using Grid = std::vector<const char*>;
using Palette = std::vector<std::pair<char, QRgb>>;

QImage canvas(int width, int height, QRgb fill);
void stamp(QImage& image, int left, int top, const Grid& rows, const Palette& palette);
void fill(QImage& image, int left, int top, int width, int height, QRgb colour);
QRgb mix(QRgb from, QRgb to, double amount);
QRgb gradientAt(const QGradientStops& stops, double position);

class Output
{
public:
    explicit Output(const QString& root);

    void saveOpaque(const QString& path, const QImage& image) const;
    void saveWithAlpha(const QString& path, const QImage& image) const;
    void saveMono(const QString& path, const QImage& image) const;
    void writeResourceList() const;

private:
    QString prepare(const QString& path) const;
    void writeList(const QString& path, QStringList files) const;

    QString m_root;
};

} // namespace art
