// SPDX-License-Identifier: GPL-3.0-or-later
// An xfwm4 theme piece as the import reads it: themerc, our XPM reader with the symbols themerc
// gives, and the composition of an image over the XPM. The input is a flags byte (bits 0-2 pick
// the image's extension), two 16-bit big-endian lengths (themerc, XPM) and the three parts, the
// image last. The composed piece must be as large as the XPM and hold alpha 0 or 255 only.

#include "FuzzSupport.h"
#include "xfwm4/ThemeReader.h"
#include "xfwm4/XpmReader.h"

#include <QImage>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_theme: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = (FuzzSupport::limitPictures(), true);
    Q_UNUSED(limited);
    if (size < 5)
        return 0;
    const QByteArray input = FuzzSupport::bytes(data, size);
    static const char* const kinds[] = { "png", "bmp", "gif", "jpg", "svg", "png", "png", "png" };
    const char* kind = kinds[quint8(input[0]) & 7];
    qsizetype at = 5;
    const qsizetype rcSize
        = std::min<qsizetype>(qFromBigEndian<quint16>(input.constData() + 1), input.size() - at);
    const QByteArray themerc = input.mid(at, rcSize);
    at += rcSize;
    const qsizetype xpmSize
        = std::min<qsizetype>(qFromBigEndian<quint16>(input.constData() + 3), input.size() - at);
    const QByteArray xpmBytes = input.mid(at, xpmSize);
    at += xpmSize;
    const QByteArray imageBytes = input.mid(at);

    const ThemeReader::Settings settings = ThemeReader::parseThemerc(themerc);
    if (settings.symbols.size() != ThemeReader::gtkColours().size())
        fail("themerc changed the number of symbolic colours");
    const QImage xpm = XpmReader::read(xpmBytes, settings.symbols);
    if (!xpm.isNull()
        && (xpm.width() > XpmReader::kLargestSide || xpm.height() > XpmReader::kLargestSide))
        fail("an XPM larger than the reader allows");
    QByteArray why;
    const QImage image = ThemeReader::decodeImage(kind, imageBytes, why);
    const QImage piece = ThemeReader::compose(xpm, image);
    if (!xpm.isNull() && piece.size() != xpm.size())
        fail("the composed piece is not the XPM's size");
    for (int y = 0; y < piece.height(); ++y)
        for (int x = 0; x < piece.width(); ++x) {
            const int alpha = qAlpha(piece.pixel(x, y));
            if (alpha != 0 && alpha != 255)
                fail("a composed pixel that is neither opaque nor transparent");
        }
    return 0;
}
