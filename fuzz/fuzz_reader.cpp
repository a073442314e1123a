// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap reader as the window uses it. The first byte holds flags, the rest is the file:
// bit 0 names it .bmp rather than .png, and for a PNG bit 1 keeps the chunk CRCs as they are;
// otherwise they are recomputed, so that mutations reach past the CRC check into the chunks.
//
// Qt's decoders are not instrumented, so every accepted file is decoded twice more, into
// canvases filled with two different bytes: a pixel the decoder never writes differs.

#include "FuzzSupport.h"
#include "style/AppError.h"
#include "style/BitmapReader.h"

#include <QImage>
#include <QtEndian>
#include <array>
#include <cstring>

namespace {

quint32 crc32(const char* data, qsizetype size)
{
    static const auto table = [] {
        std::array<quint32, 256> t = {};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 crc = 0xffffffffu;
    for (qsizetype i = 0; i < size; ++i)
        crc = table[(crc ^ quint8(data[i])) & 0xff] ^ (crc >> 8);
    return crc ^ 0xffffffffu;
}

void repairChunkCrcs(QByteArray& file)
{
    for (qsizetype pos = 8; file.size() - pos >= 12;) {
        const quint32 length = qFromBigEndian<quint32>(file.constData() + pos);
        if (length > quint64(file.size() - pos - 12))
            return;
        const qsizetype end = pos + 8 + qsizetype(length);
        qToBigEndian(crc32(file.constData() + pos + 4, qsizetype(length) + 4), file.data() + end);
        pos = end + 4;
    }
}

// Compares what the decoder wrote: the colour table and each row's pixels, not the padding at a
// row's end, nor the fourth byte of a 32-bit RGB pixel, which Qt leaves undefined.
bool sameWrittenPixels(const QImage& a, const QImage& b)
{
    if (a.format() != b.format() || a.size() != b.size() || a.colorTable() != b.colorTable())
        return false;
    const qsizetype bits = qsizetype(a.width()) * a.depth();
    const qsizetype whole = bits / 8;
    const int rest = int(bits % 8);
    const uchar lastMask
        = a.format() == QImage::Format_MonoLSB ? uchar((1 << rest) - 1) : uchar(0xff00 >> rest);
    for (int y = 0; y < a.height(); ++y) {
        const uchar* p = a.constScanLine(y);
        const uchar* q = b.constScanLine(y);
        if (a.format() == QImage::Format_RGB32) {
            const auto* pp = reinterpret_cast<const QRgb*>(p);
            const auto* qq = reinterpret_cast<const QRgb*>(q);
            for (int x = 0; x < a.width(); ++x) {
                if ((pp[x] ^ qq[x]) & 0xffffff)
                    return false;
            }
        } else if (std::memcmp(p, q, size_t(whole)) != 0
            || (rest && ((p[whole] ^ q[whole]) & lastMask))) {
            return false;
        }
    }
    return true;
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_reader: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler(FuzzSupport::abortOnWarning);
    FuzzSupport::limitPictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool bmp = data[0] & 1;
    QByteArray file = FuzzSupport::bytes(data + 1, size - 1);
    if (!bmp && !(data[0] & 2))
        repairChunkCrcs(file);
    const QByteArray name = bmp ? "Frame/frameleft_active.bmp" : "Frame/frameleft_active.png";

    QImage window;
    try {
        window = decodeBitmap(name, file);
    } catch (const AppError&) {
        return 0;
    }
    if (window.format() != QImage::Format_RGB32 && window.format() != QImage::Format_ARGB32)
        fail("the reader returned a format other than RGB32 or ARGB32");

    const QImage dark = decodeBitmap(name, file, 0x00);
    const QImage light = decodeBitmap(name, file, 0xff);
    if (!sameWrittenPixels(dark, light))
        fail("the decoder left pixels unwritten: canvases filled with 0x00 and 0xff differ");
    if (dark.convertToFormat(window.format()) != window)
        fail("the window's decoding differs from the decoder's own canvas");
    return 0;
}
