// SPDX-License-Identifier: GPL-3.0-or-later
#include "xfwm4/XpmReader.h"

#include "xfwm4/X11Colours.h"

#include <QHash>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// The reader walks the bytes as xfwm4's walks its FILE: token seeks, character seeks that skip
// C comments, and quoted strings with no escapes.
class Cursor
{
public:
    explicit Cursor(const QByteArray& bytes)
        : m_bytes(bytes)
    { }

    int get() { return m_at < m_bytes.size() ? static_cast<unsigned char>(m_bytes[m_at++]) : -1; }
    void back() { m_at = m_at > 0 ? m_at - 1 : 0; }

    // A whitespace-separated token equal to word.
    bool seekToken(const char* word)
    {
        for (;;) {
            while (m_at < m_bytes.size() && std::isspace(static_cast<unsigned char>(m_bytes[m_at])))
                ++m_at;
            if (m_at >= m_bytes.size())
                return false;
            const qsizetype start = m_at;
            while (
                m_at < m_bytes.size() && !std::isspace(static_cast<unsigned char>(m_bytes[m_at])))
                ++m_at;
            if (QByteArrayView(m_bytes.constData() + start, m_at - start) == word)
                return true;
        }
    }

    bool seekChar(int c)
    {
        int b;
        while ((b = get()) != -1) {
            if (c != b && b == '/') {
                b = get();
                if (b == -1)
                    return false;
                if (b == '*') {
                    int old = -1;
                    b = -1;
                    do {
                        old = b;
                        b = get();
                        if (b == -1)
                            return false;
                    } while (!(old == '*' && b == '/'));
                }
            } else if (c == b) {
                return true;
            }
        }
        return false;
    }

    bool readString(QByteArray& out)
    {
        out.clear();
        int c;
        do
            c = get();
        while (c != -1 && c != '"');
        if (c != '"')
            return false;
        const qsizetype start = m_at;
        const qsizetype end = m_bytes.indexOf('"', start);
        if (end < 0) {
            m_at = m_bytes.size();
            return false;
        }
        out = m_bytes.mid(start, end - start);
        m_at = end + 1;
        return true;
    }

    bool header(QByteArray& out)
    {
        if (!seekToken("XPM") || !seekChar('{'))
            return false;
        return colourLine(out);
    }

    bool colourLine(QByteArray& out)
    {
        seekChar('"');
        back();
        return readString(out);
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_at = 0;
};

const QByteArray* findSymbol(const QByteArray& name, const ColourSymbols& symbols)
{
    for (const auto& symbol : symbols)
        if (symbol.first.compare(name, Qt::CaseInsensitive) == 0)
            return &symbol.second;
    return nullptr;
}

// xfwm4's xpm_extract_color: words after the pixel characters, keyed by s, c, g, g4 and m.
std::optional<QByteArray> extractColour(const QByteArray& entry, const ColourSymbols& symbols)
{
    constexpr qsizetype kWord = 128;
    const char* p = entry.constData();
    QByteArray colour, current;
    int currentKey = 1, key = 0;
    for (;;) {
        while (*p && std::isspace(static_cast<unsigned char>(*p)))
            ++p;
        QByteArray word;
        while (*p && !std::isspace(static_cast<unsigned char>(*p)) && word.size() < kWord)
            word += *p++;
        int newKey = 0;
        if (word.isEmpty()) {
            if (colour.isEmpty())
                return std::nullopt;
            newKey = 1;
        } else if (key > 0 && colour.isEmpty()) {
            newKey = 0;
        } else if (word == "s") {
            newKey = 5;
        } else if (word == "c") {
            newKey = 4;
        } else if (word == "g") {
            newKey = 3;
        } else if (word == "g4") {
            newKey = 2;
        } else if (word == "m") {
            newKey = 1;
        }
        if (newKey == 0) {
            if (key == 0)
                return std::nullopt;
            if (!colour.isEmpty())
                colour += ' ';
            colour += word;
            colour.truncate(kWord);
            continue;
        }
        if (key == 5) {
            if (const QByteArray* value = findSymbol(colour, symbols)) {
                currentKey = key;
                current = value->left(kWord - 1);
            }
        } else if (key > currentKey) {
            currentKey = key;
            current = colour.left(kWord - 1);
        }
        colour.clear();
        key = newKey;
        if (!*p)
            break;
    }
    if (currentKey > 1)
        return current;
    return std::nullopt;
}

bool parseHexDigits(const QByteArray& digits, quint64& value)
{
    if (digits.isEmpty())
        return false;
    value = 0;
    for (char c : digits) {
        const int d = QByteArray("0123456789abcdef").indexOf(char(std::tolower(c)));
        if (d < 0)
            return false;
        value = value * 16 + quint64(d);
    }
    return true;
}

struct Colour
{
    QRgb rgb = 0;
    bool transparent = true;
};

} // namespace

namespace XpmReader {

bool parseColour(const QByteArray& text, QRgb& rgb)
{
    if (!text.startsWith('#')) {
        const std::optional<QRgb> named = X11Colours::find(text);
        if (!named)
            return false;
        rgb = *named;
        return true;
    }
    const QByteArray digits = text.mid(1);
    if (digits.isEmpty() || digits.size() % 3 != 0 || digits.size() > 12)
        return false;
    const qsizetype n = digits.size() / 3;
    quint64 c[3];
    for (int i = 0; i < 3; ++i)
        if (!parseHexDigits(digits.mid(i * n, n), c[i]))
            return false;
    // To 16 bits as xfwm4 does, then its top byte.
    int out[3];
    for (int i = 0; i < 3; ++i) {
        quint64 wide = c[i];
        if (n == 1)
            wide = wide * 0xffff / 0xf;
        else if (n == 2)
            wide = wide * 0xffff / 0xff;
        else if (n == 3)
            wide = wide * 0xffff / 0xfff;
        out[i] = int((wide & 0xffff) >> 8);
    }
    rgb = qRgb(out[0], out[1], out[2]);
    return true;
}

namespace {

struct Header
{
    int width = 0, height = 0, colours = 0, cpp = 0; // cpp: characters per pixel
};

// Why the header is unusable, or nothing.
const char* readHeader(Cursor& cursor, Header& header)
{
    QByteArray line;
    if (!cursor.header(line))
        return "no XPM header";
    if (std::sscanf(line.constData(), "%d %d %d %d", &header.width, &header.height, &header.colours,
            &header.cpp)
        != 4)
        return "an XPM header without width, height, colours and characters per pixel";
    if (header.width <= 0 || header.height <= 0 || header.cpp <= 0 || header.cpp >= 32
        || header.colours <= 0)
        return "an XPM header with impossible values";
    if (header.width > kLargestSide || header.height > kLargestSide)
        return "an XPM larger than 4096 x 4096";
    return nullptr;
}

// Up to 8 characters a pixel, as one number: no allocation per pixel.
quint64 packedKey(const char* chars, qsizetype length, int cpp)
{
    quint64 packed = 0;
    for (qsizetype i = 0; i < std::min<qsizetype>(length, cpp) && chars[i]; ++i)
        packed = packed << 8 | quint8(chars[i]);
    return packed;
}

class ColourTable
{
public:
    explicit ColourTable(int cpp)
        : m_cpp(cpp)
        , m_packed(cpp <= 8)
    { }

    int cpp() const { return m_cpp; }

    void insert(const QByteArray& chars, const Colour& colour)
    {
        if (m_packed)
            m_small.insert(packedKey(chars.constData(), chars.size(), m_cpp), colour);
        else
            m_table.insert(chars, colour);
    }
    void setFallback(const Colour& colour) { m_fallback = colour; }

    // The colour of the pixel x of a row.
    const Colour& pixel(const QByteArray& row, int x) const
    {
        if (m_packed) {
            const auto found = m_small.constFind(
                packedKey(row.constData() + qsizetype(x) * m_cpp, m_cpp, m_cpp));
            if (found != m_small.cend())
                return *found;
        } else {
            const auto found = m_table.constFind(row.mid(qsizetype(x) * m_cpp, m_cpp));
            if (found != m_table.cend())
                return *found;
        }
        return m_fallback;
    }

private:
    int m_cpp;
    bool m_packed;
    QHash<quint64, Colour> m_small;
    QHash<QByteArray, Colour> m_table;
    Colour m_fallback;
};

Colour entryColour(const QByteArray& entry, const ColourSymbols& symbols)
{
    const std::optional<QByteArray> name = extractColour(entry, symbols);
    Colour colour;
    if (name && name->compare("None", Qt::CaseInsensitive) != 0 && parseColour(*name, colour.rgb))
        colour.transparent = false;
    else
        colour.rgb = 0;
    return colour;
}

// False when the table ends early.
bool readColours(Cursor& cursor, int colours, const ColourSymbols& symbols, ColourTable& table)
{
    QByteArray line;
    for (int i = 0; i < colours; ++i) {
        if (!cursor.colourLine(line))
            return false;
        const QByteArray chars = line.left(table.cpp());
        const Colour colour = entryColour(line.mid(chars.size()), symbols);
        table.insert(chars, colour);
        if (i == 0)
            table.setFallback(colour);
    }
    return true;
}

void readRows(Cursor& cursor, const ColourTable& table, QImage& image)
{
    image.fill(Qt::transparent);
    const qsizetype rowBytes = qsizetype(image.width()) * table.cpp();
    QByteArray line;
    for (int y = 0; y < image.height(); ++y) {
        if (!cursor.readString(line) || rowBytes > line.size())
            continue;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const Colour& colour = table.pixel(line, x);
            out[x] = colour.transparent ? 0 : (colour.rgb | 0xff000000u);
        }
    }
}

} // namespace

QImage read(const QByteArray& bytes, const ColourSymbols& symbols, QByteArray* why)
{
    auto fail = [why](const char* text) {
        if (why)
            *why = text;
        return QImage();
    };
    Cursor cursor(bytes);
    Header header;
    if (const char* unusable = readHeader(cursor, header))
        return fail(unusable);
    ColourTable table(header.cpp);
    if (!readColours(cursor, header.colours, symbols, table))
        return fail("an XPM whose colour table ends early");
    QImage image(header.width, header.height, QImage::Format_ARGB32);
    if (image.isNull())
        return fail("an XPM too large for memory");
    readRows(cursor, table, image);
    return image;
}

} // namespace XpmReader
