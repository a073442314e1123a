// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpus of the fuzz targets: write_corpus SOURCE_DIR OUT_DIR, where SOURCE_DIR
// is the project's tree (for the sample styles) and OUT_DIR gets reader/ and style/.

#include "BitmapCases.h"
#include "style/StyleFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>

using namespace BitmapCases;

namespace {

// The reader target's flag byte: bit 0 for a BMP, bit 1 to keep a PNG's CRCs as they are.
char flagsFor(const QString& fileName, bool keepCrcs)
{
    return char((fileName.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive) ? 1 : 0)
        | (keepCrcs ? 2 : 0));
}

void write(const QString& dir, QString name, const QByteArray& content)
{
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9.]+")), QStringLiteral("-"));
    QFile file(dir + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(content) != content.size())
        qFatal("Cannot write %s", qPrintable(file.fileName()));
}

// One picture of each layout the reader accepts, beyond what the sample styles hold.
QList<BitmapCase> acceptedBitmaps()
{
    QList<BitmapCase> cases;
    const auto bmp = [&cases](const char* name, auto change) {
        Bmp b;
        change(b);
        cases.append({ name, QStringLiteral("a.bmp"), b.bytes() });
    };
    const auto indexed = [](Bmp& b, quint32 bits) {
        b.bits = bits;
        b.palette = six + QList<QRgb>((1 << bits) - 6, black);
        b.pixels = QByteArray(bits == 8 ? 8 : 4, '\x21');
    };
    bmp("bmp 24-bit", [](Bmp&) {});
    bmp("bmp top-down", [](Bmp& b) { b.height = -2; });
    bmp("bmp 8-bit", [&](Bmp& b) { indexed(b, 8); });
    bmp("bmp 4-bit", [&](Bmp& b) { indexed(b, 4); });
    bmp("bmp 4-bit core header", [&](Bmp& b) { indexed(b, 4), b.headerSize = 12; });
    bmp("bmp 8-bit 64-byte header", [&](Bmp& b) { indexed(b, 8), b.headerSize = 64; });
    bmp("bmp 1-bit", [](Bmp& b) {
        b.bits = 1;
        b.palette = { black, white };
        b.pixels = bmpRows({ "\x60", "\xa0" });
    });
    bmp("bmp 32-bit bit fields", [](Bmp& b) {
        b.bits = 32;
        b.compression = 3;
        b.masks = { 0xff0000, 0xff00, 0xff };
        b.pixels = QByteArray(24, '\x5a');
    });
    bmp("bmp 16-bit bit fields", [](Bmp& b) {
        b.bits = 16;
        b.compression = 3;
        b.masks = { 0xf800, 0x07e0, 0x001f };
        b.pixels = QByteArray(16, '\x5a');
    });
    bmp("bmp V5 32-bit with alpha", [](Bmp& b) {
        b.headerSize = 124;
        b.bits = 32;
        b.compression = 3;
        b.masks = { 0xff0000, 0xff00, 0xff, 0xff000000 };
        b.pixels = QByteArray(24, '\x80');
    });
    bmp("bmp RLE4", [&](Bmp& b) {
        indexed(b, 4);
        b.compression = 2;
        b.pixels = QByteArray("\x03\x34\x00\x00\x00\x03\x01\x20\x00\x01", 10);
    });
    bmp("bmp RLE8 with a jump", [&](Bmp& b) {
        indexed(b, 8);
        b.compression = 1;
        b.pixels
            = QByteArray("\x00\x03\x04\x05\x06\x00\x00\x00\x00\x02\x01\x00\x01\x02\x00\x01", 16);
    });

    const QImage rgb = picture(six);
    const auto png = [&cases](const char* name, const QImage& image) {
        cases.append({ name, QStringLiteral("a.png"), BitmapCases::png(image) });
    };
    png("png rgb", rgb);
    png("png alpha", rgb.convertToFormat(QImage::Format_ARGB32));
    png("png palette", rgb.convertToFormat(QImage::Format_Indexed8, six));
    png("png grey", rgb.convertToFormat(QImage::Format_Grayscale8));
    png("png grey 16-bit", rgb.convertToFormat(QImage::Format_Grayscale16));
    png("png 16-bit alpha", rgb.convertToFormat(QImage::Format_RGBA64));
    png("png 1-bit", rgb.convertToFormat(QImage::Format_Mono));
    return cases;
}

// The style target's input: a 16-bit length per file the window reads (0xffff: absent), the
// extra file's name and length, then the contents.
QByteArray packStyle(const QHash<QByteArray, QByteArray>& files, const QByteArray& extraName = {},
    const QByteArray& extra = {})
{
    QByteArray header, contents;
    for (const StyleFile& file : StyleFiles::all()) {
        if (file.reader == StyleFile::Reader::Nobody)
            continue;
        const auto found = files.constFind(file.name);
        header += found == files.cend() ? le(0xffff, 2) : le(quint32(found->size()), 2);
        contents += found == files.cend() ? QByteArray() : *found;
    }
    header += char(extraName.size()) + extraName + le(quint32(extra.size()), 2);
    return header + contents;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_corpus SOURCE_DIR OUT_DIR\n");
        return 2;
    }
    const QString source = QFile::decodeName(argv[1]);
    const QString reader = QFile::decodeName(argv[2]) + QStringLiteral("/reader");
    const QString style = QFile::decodeName(argv[2]) + QStringLiteral("/style");
    QDir().mkpath(reader);
    QDir().mkpath(style);

    const QStringList styles
        = QDir(source + QStringLiteral("/styles")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : styles) {
        const QDir frame(source + QStringLiteral("/styles/") + name + QStringLiteral("/Frame"));
        QHash<QByteArray, QByteArray> files;
        for (const QString& fileName : frame.entryList(QDir::Files)) {
            QFile file(frame.filePath(fileName));
            if (!file.open(QIODevice::ReadOnly))
                qFatal("Cannot read %s", qPrintable(file.fileName()));
            const QByteArray content = file.readAll();
            files.insert(QFile::encodeName(fileName), content);
            write(reader, name + QLatin1Char('-') + fileName, flagsFor(fileName, false) + content);
        }
        write(style, name, packStyle(files));
        // The same style with one of each kind of problem: a missing file, a file the reader
        // rejects, a mask of another size, a glyph of another size and a near miss of a name.
        QHash<QByteArray, QByteArray> flawed = files;
        flawed.remove("minimize_active_over.png");
        flawed["captionbar_active.png"] = QByteArray();
        flawed["frame_mask_left.bmp"] = Bmp().bytes();
        flawed["close_active_normal.png"] = png(picture(six));
        write(style, name + QStringLiteral("-flawed"),
            packStyle(flawed, "minimize_active_ovr.png", files.value("minimize_active_over.png")));
    }
    // The bad files keep their bytes exactly, a bad CRC included.
    for (const BitmapCase& c : unrecognizedBitmaps())
        write(reader, QStringLiteral("bad-") + QString::fromLatin1(c.name),
            flagsFor(c.fileName, true) + c.content);
    for (const BitmapCase& c : acceptedBitmaps())
        write(reader, QStringLiteral("good-") + QString::fromLatin1(c.name),
            flagsFor(c.fileName, false) + c.content);
    return 0;
}
