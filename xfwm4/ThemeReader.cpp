// SPDX-License-Identifier: GPL-3.0-or-later
#include "xfwm4/ThemeReader.h"

#include <QBuffer>
#include <QImageReader>
#include <QXmlStreamReader>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef FRAMEWRIGHT_HAVE_SVG
#include <QPainter>
#include <QSvgRenderer>
#endif

namespace {

QByteArray systemText(int errnum)
{
    return QByteArray(std::strerror(errnum));
}

// How deep an SVG may nest and what it may refer to: Qt SVG draws nested groups by recursion
// and reads any file an <image> names, so a theme gets neither.
bool svgIsTame(const QByteArray& bytes, QByteArray& why)
{
    constexpr int kDeepest = 64;
    QXmlStreamReader xml(bytes);
    int depth = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > kDeepest) {
                why = "an SVG nested deeper than 64 elements";
                return false;
            }
            if (xml.name() == QLatin1String("image")) {
                why = "an SVG that draws an image file";
                return false;
            }
            for (const QXmlStreamAttribute& attribute : xml.attributes())
                if (attribute.name() == QLatin1String("href")
                    && !attribute.value().startsWith(QLatin1Char('#'))) {
                    why = "an SVG that refers to another file";
                    return false;
                }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::DTD:
            // Entities are how an SVG expands without bound.
            if (!xml.entityDeclarations().isEmpty()) {
                why = "an SVG that declares entities";
                return false;
            }
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        why = "an SVG that is not well-formed XML";
        return false;
    }
    return true;
}

QImage decodeSvg(const QByteArray& bytes, QByteArray& why)
{
#ifdef FRAMEWRIGHT_HAVE_SVG
    if (!svgIsTame(bytes, why))
        return {};
    QSvgRenderer renderer(bytes);
    if (!renderer.isValid()) {
        why = "an SVG that Qt SVG cannot read";
        return {};
    }
    const QSize size = renderer.defaultSize();
    if (size.isEmpty()) {
        why = "an SVG of no size";
        return {};
    }
    if (size.width() > ThemeReader::kLargestSide || size.height() > ThemeReader::kLargestSide) {
        why = "an SVG larger than 4096 x 4096";
        return {};
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
#else
    Q_UNUSED(bytes);
    why = "an SVG, and this build has no Qt SVG";
    return {};
#endif
}

} // namespace

namespace ThemeReader {

const ColourSymbols& gtkColours()
{
    // GTK 3.24.38's Adwaita through xfwm4's ui_style.c: each symbol's GTK colour (fg, bg) in its
    // widget state, or xfwm4's light (x1.3), dark (x0.7) or mid (their mean) shade of the bg.
    static const ColourSymbols colours = {
        { "active_text_color", "#ffffff" }, // fg, selected
        { "inactive_text_color", "#929595" }, // fg, insensitive
        { "active_text_shadow_color", "#2d5d96" }, // dark, selected
        { "inactive_text_shadow_color", "#b7aea4" }, // dark, insensitive
        { "active_border_color", "#2e3436" }, // fg, normal
        { "inactive_border_color", "#2e3436" }, // fg, normal
        { "active_color_1", "#3584e4" }, // bg, selected
        { "active_hilight_1", "#6eaffe" }, // light, selected
        { "active_shadow_1", "#2d5d96" }, // dark, selected
        { "active_mid_1", "#4e86ca" }, // mid, selected
        { "active_text_color_2", "#2e3436" }, // fg, normal
        { "active_color_2", "#f6f5f4" }, // bg, normal
        { "active_hilight_2", "#ffffff" }, // light, normal
        { "active_shadow_2", "#b1aba5" }, // dark, normal
        { "active_mid_2", "#d8d5d2" }, // mid, normal
        { "inactive_color_1", "#faf9f8" }, // bg, insensitive
        { "inactive_hilight_1", "#ffffff" }, // light, insensitive
        { "inactive_shadow_1", "#b7aea4" }, // dark, insensitive
        { "inactive_mid_1", "#dbd6d1" }, // mid, insensitive
        { "inactive_text_color_2", "#929595" }, // fg, insensitive
        { "inactive_color_2", "#f6f5f4" }, // bg, normal
        { "inactive_hilight_2", "#ffffff" }, // light, normal
        { "inactive_shadow_2", "#b1aba5" }, // dark, normal
        { "inactive_mid_2", "#d8d5d2" }, // mid, normal
    };
    return colours;
}

Settings parseThemerc(const QByteArray& bytes)
{
    Settings settings;
    settings.symbols = gtkColours();
    constexpr qsizetype kChunk = 254; // fgets into xfwm4's 255-byte buffer
    qsizetype at = 0;
    while (at < bytes.size()) {
        // Looked for within the chunk only, so a file of one long line reads in linear time.
        const qsizetype room = std::min(kChunk, bytes.size() - at);
        const char* start = bytes.constData() + at;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', size_t(room)));
        const qsizetype end = newline ? at + (newline - start) + 1 : at + room;
        QByteArray line = bytes.mid(at, end - at);
        at = end;
        const qsizetype nul = line.indexOf('\0');
        if (nul >= 0)
            line.truncate(nul);
        // strtok(buf, "=") then strtok(NULL, "\n").
        qsizetype keyStart = 0;
        while (keyStart < line.size() && line[keyStart] == '=')
            ++keyStart;
        const qsizetype equals = line.indexOf('=', keyStart);
        if (keyStart >= line.size() || equals < 0)
            continue;
        qsizetype valueStart = equals + 1;
        while (valueStart < line.size() && line[valueStart] == '\n')
            ++valueStart;
        qsizetype valueEnd = line.indexOf('\n', valueStart);
        if (valueEnd < 0)
            valueEnd = line.size();
        if (valueEnd == valueStart)
            continue;
        const QByteArray key = line.mid(keyStart, equals - keyStart).toLower();
        const QByteArray value = line.mid(valueStart, valueEnd - valueStart);
        settings.values.insert(key, value);
        for (auto& symbol : settings.symbols)
            if (symbol.first == key)
                symbol.second = value;
    }
    // xfwm4's pass for a colour named by another ("active_text_color=active_text_color_2"),
    // in table order, so an earlier symbol already resolved passes its new value on.
    for (auto& symbol : settings.symbols)
        for (const auto& other : std::as_const(settings.symbols))
            if (symbol.second.compare(other.first, Qt::CaseInsensitive) == 0) {
                symbol.second = other.second;
                break;
            }
    return settings;
}

bool readFile(const QByteArray& path, QByteArray& bytes, QByteArray& why, int* errnum)
{
    bytes.clear();
    if (errnum)
        *errnum = 0;
    const auto fail = [&](int e) {
        if (errnum)
            *errnum = e;
        why = systemText(e);
    };
    // Non-blocking, so a FIFO in a piece's place is never waited on.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
        return false;
    }
    struct stat info = {};
    bool ok = ::fstat(fd, &info) == 0;
    if (!ok)
        fail(errno);
    else if (!S_ISREG(info.st_mode)) {
        why = "not a regular file";
        ok = false;
    } else if (info.st_size > kLargestFile) {
        why = "larger than 16 MiB";
        ok = false;
    }
    if (ok) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                fail(errno);
                ok = false;
                break;
            }
            if (n == 0)
                break;
            got += n;
        }
        bytes.truncate(got);
    }
    ::close(fd);
    if (!ok)
        bytes.clear();
    return ok;
}

QImage decodeImage(const QByteArray& extension, const QByteArray& bytes, QByteArray& why)
{
    if (extension == "svg")
        return decodeSvg(bytes, why);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format.isEmpty() || format.startsWith("svg")) {
        why = "not an image the pixbuf loader reads";
        return {};
    }
    const QSize size = reader.size();
    if (size.width() > kLargestSide || size.height() > kLargestSide) {
        why = "an image larger than 4096 x 4096";
        return {};
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        why = reader.errorString().toUtf8();
        return {};
    }
    if (image.width() > kLargestSide || image.height() > kLargestSide) {
        why = "an image larger than 4096 x 4096";
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage compose(const QImage& xpm, const QImage& image)
{
    QImage result;
    if (xpm.isNull())
        result = image.convertToFormat(QImage::Format_ARGB32);
    else
        result = xpm.convertToFormat(QImage::Format_ARGB32);
    if (result.isNull())
        return result;
    if (!xpm.isNull() && !image.isNull()) {
        const QImage over = image.convertToFormat(QImage::Format_ARGB32);
        const int w = std::min(result.width(), over.width());
        const int h = std::min(result.height(), over.height());
        for (int y = 0; y < h; ++y) {
            auto* d = reinterpret_cast<QRgb*>(result.scanLine(y));
            const auto* s = reinterpret_cast<const QRgb*>(over.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const int sa = qAlpha(s[x]);
                if (sa == 255) {
                    d[x] = s[x];
                    continue;
                }
                if (sa == 0)
                    continue;
                const int da = qAlpha(d[x]);
                const int dw = da * (255 - sa) / 255;
                const int a = sa + dw;
                if (a == 0)
                    continue;
                auto mix = [&](int sc, int dc) { return (sc * sa + dc * dw + a / 2) / a; };
                d[x] = qRgba(mix(qRed(s[x]), qRed(d[x])), mix(qGreen(s[x]), qGreen(d[x])),
                    mix(qBlue(s[x]), qBlue(d[x])), a);
            }
        }
    }
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if (qAlpha(line[x]) != 255)
                line[x] = 0;
    }
    return result;
}

QSet<QByteArray> listFolder(const QByteArray& dir)
{
    QSet<QByteArray> names;
    if (DIR* stream = ::opendir(dir.constData())) {
        while (const dirent* entry = ::readdir(stream))
            names.insert(QByteArray(entry->d_name));
        ::closedir(stream);
    }
    return names;
}

Piece readPiece(const QByteArray& dir, const QByteArray& name, const ColourSymbols& symbols,
    const QSet<QByteArray>* present)
{
    auto absent = [present](const QByteArray& file) { return present && !present->contains(file); };
    Piece piece;
    auto note = [&piece](const QByteArray& file, const QByteArray& why) {
        if (!piece.skipped.isEmpty())
            piece.skipped += "; ";
        piece.skipped += file + ": " + why;
    };
    const QByteArray base = dir.endsWith('/') ? dir + name : dir + '/' + name;
    QImage xpm;
    QByteArray bytes, why;
    int errnum = 0;
    const bool hasXpm = !absent(name + ".xpm");
    if (hasXpm && readFile(base + ".xpm", bytes, why, &errnum)) {
        xpm = XpmReader::read(bytes, symbols, &why);
        if (xpm.isNull())
            note(name + ".xpm", why);
        else
            piece.files = name + ".xpm";
    } else if (hasXpm && errnum != ENOENT) {
        note(name + ".xpm", why);
    }
    static const char* const kinds[] = { "svg", "png", "gif", "jpg", "bmp" };
    QImage image;
    for (const char* kind : kinds) {
        const QByteArray file = name + '.' + kind;
        if (absent(file))
            continue;
        if (!readFile(base + '.' + kind, bytes, why, &errnum)) {
            if (errnum != ENOENT)
                note(file, why);
            continue;
        }
        image = decodeImage(kind, bytes, why);
        if (image.isNull()) {
            note(file, why);
            continue;
        }
        piece.files += piece.files.isEmpty() ? file : " + " + file;
        break;
    }
    piece.image = compose(xpm, image);
    return piece;
}

} // namespace ThemeReader
