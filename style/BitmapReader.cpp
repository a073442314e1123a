// SPDX-License-Identifier: GPL-3.0-or-later
#include "style/BitmapReader.h"

#include "style/AppError.h"
#include "style/DiskFile.h"

#include <QBuffer>
#include <QByteArrayView>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

namespace {

enum class Kind { Png, Bmp };

std::optional<Kind> kindFromName(const QByteArray& path)
{
    // A dot in a directory name yields an "extension" holding a slash, which matches nothing.
    const qsizetype dot = path.lastIndexOf('.');
    if (dot < 0)
        return std::nullopt;
    const QByteArray extension = path.mid(dot + 1).toLower();
    if (extension == "png")
        return Kind::Png;
    if (extension == "bmp")
        return Kind::Bmp;
    return std::nullopt;
}

// Every picture ends up at 32 bits a pixel, so the decoder's limit is applied at that size and
// before anything is allocated: palette and grey images would otherwise pass it and only the
// conversion would allocate the full amount. A PNG of 16 bits a channel is decoded at 64 bits a
// pixel first, and is held to that, or the decoder would refuse it itself, with a warning.
bool fitsAllocationLimit(quint64 width, quint64 height, quint64 bytesPerPixel = 4)
{
    const quint64 limitMb = quint64(qMax(QImageReader::allocationLimit(), 0));
    return limitMb == 0 || width * height <= limitMb * 1024 * 1024 / bytesPerPixel;
}

constexpr std::array<quint32, 256> makeCrcTable()
{
    std::array<quint32, 256> table = {};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

quint32 crc32(const char* data, quint32 size)
{
    static constexpr std::array<quint32, 256> table = makeCrcTable();
    quint32 crc = 0xffffffffu;
    for (quint32 i = 0; i < size; ++i)
        crc = table[(crc ^ quint8(data[i])) & 0xff] ^ (crc >> 8);
    return crc ^ 0xffffffffu;
}

// libpng only warns about a bad CRC in an ancillary chunk, and Qt hands back a half-filled
// picture with a truncated file, so the chunk structure is checked here, whole.
bool isCompletePng(const QByteArray& bytes)
{
    static constexpr char signature[] = "\x89PNG\r\n\x1a\n";
    if (!bytes.startsWith(QByteArrayView(signature, 8)))
        return false;
    const char* const data = bytes.constData();
    qsizetype pos = 8;
    bool first = true;
    while (bytes.size() - pos >= 12) {
        const quint32 length = qFromBigEndian<quint32>(data + pos);
        if (length > 0x7fffffffu || length > quint64(bytes.size() - pos - 12))
            return false;
        const char* const chunk = data + pos + 4; // type, then data
        if (crc32(chunk, length + 4) != qFromBigEndian<quint32>(chunk + 4 + length))
            return false;
        const QByteArrayView type(chunk, 4);
        if (first) {
            if (type != "IHDR" || length != 13)
                return false;
            const quint32 width = qFromBigEndian<quint32>(chunk + 4);
            const quint32 height = qFromBigEndian<quint32>(chunk + 8);
            const quint8 bitDepth = quint8(chunk[12]);
            if (width == 0 || height == 0 || width > 0x7fffffffu || height > 0x7fffffffu
                || !fitsAllocationLimit(width, height, bitDepth == 16 ? 8 : 4))
                return false;
            first = false;
        } else if (type == "IEND") {
            return true;
        }
        pos += 12 + qsizetype(length);
    }
    return false;
}

struct BmpLayout
{
    int width = 0;
    int height = 0; // rows, whichever way they are stored
    bool runLength = false;
};

// The fields of a BMP's info header that decide how Qt reads it; the core (12-byte) header
// has no compression, image size or palette count.
struct BmpHeader
{
    quint32 pixelOffset = 0;
    quint32 size = 0;
    qint64 width = 0;
    qint64 height = 0;
    quint16 planes = 0;
    quint16 bits = 0;
    quint32 compression = 0;
    quint32 imageSize = 0;
    quint32 coloursUsed = 0;
    bool core() const { return size == 12; }
};

constexpr qint64 kBmpFileHeaderSize = 14;
enum BmpCompression { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

std::optional<BmpHeader> readBmpHeader(const QByteArray& bytes)
{
    if (bytes.size() < kBmpFileHeaderSize + 4 || !bytes.startsWith("BM"))
        return std::nullopt;
    const char* const data = bytes.constData();
    BmpHeader h;
    h.pixelOffset = qFromLittleEndian<quint32>(data + 10);
    h.size = qFromLittleEndian<quint32>(data + 14);
    if (h.size != 12 && h.size != 40 && h.size != 64 && h.size != 108 && h.size != 124)
        return std::nullopt;
    if (kBmpFileHeaderSize + h.size > bytes.size())
        return std::nullopt;
    const char* const info = data + kBmpFileHeaderSize;
    if (h.core()) {
        h.width = qFromLittleEndian<qint16>(info + 4);
        h.height = qFromLittleEndian<qint16>(info + 6);
        h.planes = qFromLittleEndian<quint16>(info + 8);
        h.bits = qFromLittleEndian<quint16>(info + 10);
        return h;
    }
    h.width = qFromLittleEndian<qint32>(info + 4);
    h.height = qFromLittleEndian<qint32>(info + 8);
    h.planes = qFromLittleEndian<quint16>(info + 12);
    h.bits = qFromLittleEndian<quint16>(info + 14);
    h.compression = qFromLittleEndian<quint32>(info + 16);
    h.imageSize = qFromLittleEndian<quint32>(info + 20);
    h.coloursUsed = qFromLittleEndian<quint32>(info + 32);
    return h;
}

// Where the pixels may start at the earliest: after the headers, the bit-field masks and the
// palette; nothing when the palette is one Qt misreads.
std::optional<qint64> bmpTablesEnd(const BmpHeader& h)
{
    qint64 tablesEnd = kBmpFileHeaderSize + h.size;
    if (h.compression == BitFields && h.size == 40)
        tablesEnd += 3 * 4; // the masks follow the header; V4 and V5 hold them inside
    if (h.bits <= 8) {
        // Qt reads the whole 2^bits palette of a core header, and at most 256 entries.
        const qint64 colours = (h.coloursUsed && !h.core()) ? h.coloursUsed : qint64(1) << h.bits;
        // Qt's 1-bit picture holds two colours and warns at every palette entry past them.
        if (colours > 256 || (h.bits == 1 && colours > 2))
            return std::nullopt;
        tablesEnd += colours * (h.core() ? 3 : 4);
    }
    return tablesEnd;
}

// Qt reads a BMP without checking it against the file: a short pixel array or an offset into
// the headers yields a picture with uninitialised or misplaced pixels and no error. Only what
// Qt decodes correctly passes; the 52- and 56-byte headers it misreads as OS/2 ones.
std::optional<BmpLayout> checkBmp(const QByteArray& bytes)
{
    const std::optional<BmpHeader> header = readBmpHeader(bytes);
    if (!header)
        return std::nullopt;
    const BmpHeader& h = *header;
    const qint64 rows = qAbs(h.height);
    if (h.width <= 0 || h.height == 0 || h.planes != 1 || !fitsAllocationLimit(h.width, rows))
        return std::nullopt;
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32)
        return std::nullopt;
    // In the 64-byte OS/2 header compression 3 means Huffman coding, not bit fields.
    const bool compressionFits = h.compression == Rgb || (h.compression == Rle8 && h.bits == 8)
        || (h.compression == Rle4 && h.bits == 4)
        || (h.compression == BitFields && (h.bits == 16 || h.bits == 32) && h.size != 64);
    if (!compressionFits)
        return std::nullopt;
    const std::optional<qint64> tablesEnd = bmpTablesEnd(h);
    if (!tablesEnd || h.pixelOffset < *tablesEnd || h.pixelOffset >= bytes.size())
        return std::nullopt;

    const qint64 available = bytes.size() - h.pixelOffset;
    const bool runLength = h.compression == Rle8 || h.compression == Rle4;
    const qint64 rowStride = (h.width * h.bits + 31) / 32 * 4;
    if (runLength ? h.imageSize > available : rowStride * rows > available)
        return std::nullopt;
    return BmpLayout { int(h.width), int(rows), runLength };
}

// Qt's decoders draw into the canvas they are given when its size and format are the ones they
// would allocate, and replace it otherwise.
QImage decodeRaw(const QByteArray& bytes, const char* format, QImage canvas)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    // Qt leaves a partly decoded picture behind when it fails, so only its answer counts.
    if (!reader.read(&canvas) || canvas.isNull())
        throw AppError::formatNotRecognized();
    return canvas;
}

QImage decode(const QByteArray& bytes, const char* format, QImage canvas,
    std::optional<quint8> canvasFill = std::nullopt)
{
    if (!canvasFill) {
        canvas = decodeRaw(bytes, format, std::move(canvas));
        return canvas.convertToFormat(
            canvas.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
    if (canvas.isNull()) {
        // A first decoding tells the size and format the decoder picks for these bytes.
        const QImage probe = decodeRaw(bytes, format, QImage());
        canvas = QImage(probe.size(), probe.format());
        std::memset(canvas.bits(), *canvasFill, size_t(canvas.sizeInBytes()));
    }
    const uchar* const prepared = canvas.constBits();
    canvas = decodeRaw(bytes, format, std::move(canvas));
    // Only a canvas the decoder drew into can show what it left unwritten.
    if (canvas.constBits() != prepared)
        qFatal("The %s decoder replaced the canvas it was given", format);
    return canvas;
}

} // namespace

QImage readBitmap(const QByteArray& path)
{
    if (!kindFromName(path))
        throw AppError::formatNotRecognized();
    return decodeBitmap(path, readWholeFile(path));
}

QImage readResourceBitmap(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError::cannotOpen(path, ENOENT);
    return decodeBitmap(path.toUtf8(), file.readAll());
}

QImage decodeBitmap(
    const QByteArray& name, const QByteArray& bytes, std::optional<quint8> canvasFill)
{
    const std::optional<Kind> kind = kindFromName(name);
    if (!kind)
        throw AppError::formatNotRecognized();

    if (*kind == Kind::Png) {
        if (!isCompletePng(bytes))
            throw AppError::formatNotRecognized();
        return decode(bytes, "png", QImage(), canvasFill);
    }

    const std::optional<BmpLayout> layout = checkBmp(bytes);
    if (!layout)
        throw AppError::formatNotRecognized();
    // Qt's run-length decoder writes only the pixels the codes reach. Given a canvas of the
    // right size and format it reuses it, so skipped pixels stay at palette index 0.
    QImage canvas;
    if (layout->runLength) {
        canvas = QImage(layout->width, layout->height, QImage::Format_Indexed8);
        canvas.fill(0);
    }
    return decode(bytes, "bmp", std::move(canvas), canvasFill);
}
