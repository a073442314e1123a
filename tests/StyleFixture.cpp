// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"

#include "style/StyleFiles.h"

#include <QDir>
#include <QFile>
#include <QPainter>

namespace {

// The files the window reads, in the table's order, which also fixes each one's colour.
QStringList readFiles()
{
    QStringList files;
    for (const StyleFile& file : StyleFiles::all())
        if (file.reader != StyleFile::Reader::Nobody)
            files.append(QString::fromLatin1(file.name));
    return files;
}

const QStringList kFiles = readFiles();

} // namespace

StyleFixture::StyleFixture(const QString& subdir)
{
    QDir(m_root.path()).mkpath(subdir);
    m_dir = m_root.path() + QLatin1Char('/') + subdir + QLatin1Char('/');
}

const QStringList& StyleFixture::files()
{
    return kFiles;
}

QRgb StyleFixture::colourOf(const QString& file)
{
    const int i = int(kFiles.indexOf(file)) + 1;
    return qRgb((i * 37) % 200 + 20, (i * 71) % 200 + 20, (i * 113) % 200 + 20);
}

QSize StyleFixture::defaultSize(const QString& file)
{
    if (file.startsWith(QLatin1String("frame_mask"))
        || file.startsWith(QLatin1String("captionbar_left"))
        || file.startsWith(QLatin1String("captionbar_right")))
        return { 12, 29 };
    if (file.startsWith(QLatin1String("captionbar_")))
        return { 20, 29 };
    if (file.startsWith(QLatin1String("framebottom_left"))
        || file.startsWith(QLatin1String("framebottom_right")))
        return { 5, 8 };
    if (file.startsWith(QLatin1String("framebottom_")))
        return { 10, 8 };
    if (file.startsWith(QLatin1String("frameleft_")))
        return { 5, 20 };
    if (file.startsWith(QLatin1String("captionbutton_")))
        return { 19, 18 };
    return { 13, 13 };
}

void StyleFixture::writeAll()
{
    for (const QString& file : kFiles) {
        if (file == QLatin1String("frame_mask_left.bmp")
            || file == QLatin1String("frame_mask_right.bmp"))
            writeImage(file, maskImage(3));
        else if (file.startsWith(QLatin1String("captionbar_left"))
            || file.startsWith(QLatin1String("captionbar_right")))
            writeImage(file, cornerImage(defaultSize(file), colourOf(file), 3));
        else
            write(file, defaultSize(file));
    }
}

void StyleFixture::write(const QString& file, QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, size.height() - 1, qRgb(255, 255, 255));
    writeImage(file, image);
}

void StyleFixture::writeImage(const QString& file, const QImage& image)
{
    const bool bmp = file.endsWith(QLatin1String(".bmp"));
    QFile out(path(file));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write fixture %s", qPrintable(path(file)));
    image.save(&out, bmp ? "BMP" : "PNG");
}

void StyleFixture::remove(const QString& file)
{
    QFile::remove(path(file));
}

QImage StyleFixture::cornerImage(QSize size, QRgb colour, int cut)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    for (int y = 0; y < cut && y < size.height(); ++y)
        for (int x = 0; x < cut && x < size.width(); ++x)
            image.setPixel(x, y, qRgba(0, 0, 0, 0));
    image.setPixel(0, size.height() - 1, qRgb(255, 255, 255));
    return image;
}

QImage StyleFixture::maskImage(int cut)
{
    QImage mask(12, 29, QImage::Format_Mono);
    mask.setColor(0, qRgb(0, 0, 0));
    mask.setColor(1, qRgb(255, 255, 255));
    mask.fill(0);
    for (int y = 0; y < cut; ++y)
        for (int x = 0; x < cut; ++x)
            mask.setPixel(x, y, 1);
    return mask;
}

QString fileShownBy(const QImage& picture)
{
    if (picture.isNull())
        return QStringLiteral("<none>");
    const QRgb middle = picture.pixel(picture.width() / 2, picture.height() / 2) | 0xff000000u;
    for (const QString& file : kFiles)
        if (StyleFixture::colourOf(file) == middle)
            return file;
    return QStringLiteral("<other>");
}
