// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Bitmap files built byte by byte, shared by the reader's tests and the tests of everything
// that reads style files through it.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QString>
#include <QtEndian>
#include <optional>
#include <utility>

namespace BitmapCases {

inline const QString notRecognized = QStringLiteral("Image format not recognized");

// The 3x2 picture most fixtures hold, top row first. Every channel differs, so a swapped
// channel, row or column shows.
inline const QList<QRgb> six
    = { qRgb(0x10, 0x20, 0x30), qRgb(0x40, 0x50, 0x60), qRgb(0x70, 0x80, 0x90),
          qRgb(0xa0, 0xb0, 0xc0), qRgb(0xd0, 0xe0, 0xf0), qRgb(0xf1, 0x02, 0x13) };
inline const QRgb black = qRgb(0, 0, 0);
inline const QRgb white = qRgb(255, 255, 255);

inline QImage picture(const QList<QRgb>& topDown, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(3, int(topDown.size()) / 3, format);
    for (int i = 0; i < topDown.size(); ++i)
        image.setPixel(i % 3, i / 3, topDown[i]);
    return image;
}

inline QByteArray le(quint32 value, int size = 4)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char(value >> (8 * i));
    return bytes;
}

inline QByteArray bgr(QRgb colour)
{
    return le(colour & 0xffffff, 3);
}

// Pads each row to the four bytes BMP rows are aligned to.
inline QByteArray bmpRows(std::initializer_list<QByteArray> rows)
{
    QByteArray bytes;
    for (const QByteArray& row : rows)
        bytes += row + QByteArray((4 - row.size() % 4) % 4, '\0');
    return bytes;
}

inline QByteArray sixAs24Bit(bool topDown = false)
{
    const QByteArray top = bgr(six[0]) + bgr(six[1]) + bgr(six[2]);
    const QByteArray bottom = bgr(six[3]) + bgr(six[4]) + bgr(six[5]);
    return topDown ? bmpRows({ top, bottom }) : bmpRows({ bottom, top });
}

// Written by hand rather than by QImageWriter, so every header field is ours to get wrong.
struct Bmp
{
    quint32 headerSize = 40;
    qint32 width = 3;
    qint32 height = 2;
    quint32 planes = 1;
    quint32 bits = 24;
    quint32 compression = 0;
    quint32 coloursUsed = 0;
    QList<QRgb> palette;
    QList<quint32> masks; // red, green, blue, alpha
    QByteArray pixels = sixAs24Bit();
    std::optional<quint32> pixelOffset;

    QByteArray bytes() const
    {
        QByteArray info = le(headerSize);
        if (headerSize == 12) {
            info += le(quint16(width), 2) + le(quint16(height), 2) + le(planes | bits << 16);
        } else {
            for (quint32 field : { quint32(width), quint32(height), planes | bits << 16,
                     compression, quint32(pixels.size()), 2835u, 2835u, coloursUsed, 0u })
                info += le(field);
            for (int i = 0; headerSize >= 108 && i < 4; ++i)
                info += le(masks.value(i));
            info += QByteArray(qMax(0, int(headerSize) - int(info.size())), '\0');
            for (int i = 0; headerSize == 40 && i < masks.size(); ++i)
                info += le(masks[i]);
        }
        QByteArray table;
        for (QRgb colour : palette)
            table += le(colour & 0xffffff, headerSize == 12 ? 3 : 4);
        const quint32 tablesEnd = quint32(14 + info.size() + table.size());
        return "BM" + le(tablesEnd + quint32(pixels.size())) + le(0)
            + le(pixelOffset.value_or(tablesEnd)) + info + table + pixels;
    }
};

inline QByteArray png(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return buffer.data();
}

struct PngChunk
{
    QByteArray type;
    qsizetype start = 0;
    qsizetype end = 0;
};

inline QList<PngChunk> pngChunks(const QByteArray& file)
{
    QList<PngChunk> chunks;
    for (qsizetype pos = 8; pos + 12 <= file.size(); pos = chunks.last().end)
        chunks.append({ file.mid(pos + 4, 4), pos,
            pos + 12 + qFromBigEndian<quint32>(file.constData() + pos) });
    return chunks;
}

// The PNG with its chunks of that type replaced by one well-formed chunk holding data.
inline QByteArray withChunk(const QByteArray& file, const QByteArray& type, const QByteArray& data)
{
    quint32 crc = 0xffffffffu;
    for (char byte : type + data) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
    }
    QByteArray chunk(12 + data.size(), '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    chunk.replace(4, 4 + data.size(), type + data);
    qToBigEndian<quint32>(crc ^ 0xffffffffu, chunk.data() + 8 + data.size());

    QByteArray result = file.left(8);
    bool placed = false;
    for (const PngChunk& c : pngChunks(file)) {
        if (c.type != type)
            result += file.mid(c.start, c.end - c.start);
        else if (!std::exchange(placed, true))
            result += chunk;
    }
    return result;
}

struct BitmapCase
{
    QByteArray name;
    QString fileName;
    QByteArray content;
};

// Every file whose content is no valid picture of the kind its name says, each a named case.
inline QList<BitmapCase> unrecognizedBitmaps()
{
    QList<BitmapCase> cases;
    const auto add = [&cases](QByteArray name, const char* fileName, const QByteArray& content) {
        cases.append({ std::move(name), QString::fromLatin1(fileName), content });
    };

    QImage source = picture(six);
    source.setText(QStringLiteral("Title"), QStringLiteral("Frame"));
    const QByteArray goodPng = png(source);
    const QByteArray goodBmp = Bmp().bytes();

    add("zero-byte png", "a.png", QByteArray());
    add("zero-byte bmp", "a.bmp", QByteArray());
    add("text named png", "a.png", QByteArray("This is not a picture.\n"));
    add("png named bmp", "a.bmp", goodPng);
    add("bmp named png", "a.png", goodBmp);
    add("unknown extension", "a.gif", goodPng);
    add("no extension", "a", goodPng);

    add("png cut after signature", "a.png", goodPng.left(8));
    const QList<PngChunk> chunks = pngChunks(goodPng);
    for (const PngChunk& chunk : chunks) {
        if (chunk.type == "IEND")
            add("png without IEND", "a.png", goodPng.left(chunk.start));
        else if (chunk.end != chunks.last().start)
            add("png cut after " + chunk.type, "a.png", goodPng.left(chunk.end));
        // libpng only warns about a bad CRC in an ancillary chunk such as tEXt.
        if (chunk.type == "IDAT" || chunk.type == "tEXt") {
            const qsizetype middle = (chunk.start + chunk.end) / 2;
            QByteArray badCrc = goodPng;
            badCrc[middle] = char(badCrc[middle] ^ 0x10);
            add("png bad " + chunk.type + " CRC", "a.png", badCrc);
        }
        if (chunk.type == "IDAT")
            add("png cut mid-IDAT", "a.png", goodPng.left((chunk.start + chunk.end) / 2));
    }
    QByteArray hugeHeader = goodPng.mid(16, 13);
    qToBigEndian<quint32>(20000, hugeHeader.data());
    qToBigEndian<quint32>(20000, hugeHeader.data() + 4);
    add("png declaring 20000x20000", "a.png", withChunk(goodPng, "IHDR", hugeHeader));
    // Well-formed chunks that only the decoder finds wrong; it leaves a partial picture behind.
    add("png with corrupt compressed data", "a.png",
        withChunk(goodPng, "IDAT", QByteArray(40, '\x5c')));
    add("png with too little image data", "a.png",
        withChunk(goodPng, "IDAT", qCompress(QByteArray(10, '\0')).mid(4)));

    add("bmp header cut", "a.bmp", goodBmp.left(20));
    add("bmp truncated pixel array", "a.bmp", goodBmp.chopped(1));
    const auto addBmp = [&add](const char* name, auto change) {
        Bmp bmp;
        change(bmp);
        add(name, "a.bmp", bmp.bytes());
    };
    addBmp("bmp pixel offset beyond file", [](Bmp& b) { b.pixelOffset = 14 + 40 + 24 + 4; });
    addBmp("bmp pixel offset inside headers", [](Bmp& b) { b.pixelOffset = 20; });
    addBmp("bmp pixel offset leaves too few bytes", [](Bmp& b) { b.pixelOffset = 14 + 40 + 4; });
    addBmp("bmp header size 41", [](Bmp& b) { b.headerSize = 41; });
    addBmp("bmp 52-byte header (Qt misreads it)", [](Bmp& b) { b.headerSize = 52; });
    addBmp("bmp zero width", [](Bmp& b) { b.width = 0; });
    addBmp("bmp negative width", [](Bmp& b) { b.width = -3; });
    addBmp("bmp zero height", [](Bmp& b) { b.height = 0; });
    addBmp("bmp two planes", [](Bmp& b) { b.planes = 2; });
    addBmp("bmp 2-bit", [](Bmp& b) { b.bits = 2; });
    addBmp("bmp RLE8 on 24-bit", [](Bmp& b) { b.compression = 1; });
    addBmp("bmp bit fields without masks", [](Bmp& b) {
        b.bits = 32;
        b.compression = 3;
        b.pixels = QByteArray(24, '\x7f');
    });
    // Big enough that Qt would read the missing palette out of the pixels and succeed.
    addBmp("bmp palette too short", [](Bmp& b) {
        b.width = 40;
        b.height = 26;
        b.bits = 8;
        b.palette = six;
        b.pixels = QByteArray(40 * 26, '\x01');
    });
    addBmp("bmp 1-bit with three palette colours", [](Bmp& b) {
        b.bits = 1;
        b.coloursUsed = 3;
        b.palette = { black, white, black };
        b.pixels = bmpRows({ "\x60", "\xa0" });
    });
    // Small enough to pass Qt's own limit at 8 bits a pixel, too big at 32.
    addBmp("bmp 8000x8000 RLE8 in a few bytes", [](Bmp& b) {
        b.width = b.height = 8000;
        b.bits = 8;
        b.compression = 1;
        b.palette = six;
        b.coloursUsed = 6;
        b.pixels = QByteArray("\x00\x01", 2);
    });
    return cases;
}

} // namespace BitmapCases
