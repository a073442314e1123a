// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Printable.h"

namespace {

// The length of the valid UTF-8 sequence at p, or 0 where p starts none (a stray or truncated
// byte, an overlong form, a surrogate, beyond U+10FFFF).
int sequenceLength(const uchar* p, qsizetype left)
{
    const uchar lead = p[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    uint code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    static constexpr uint kSmallest[] = { 0, 0, 0x80, 0x800, 0x10000 };
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool isControl(uchar c)
{
    return c < 0x20 || c == 0x7F;
}

} // namespace

QByteArray printable(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const int length = sequenceLength(p + i, size - i);
        if (length == 0 || (length == 1 && isControl(p[i]))) {
            out += "\\x" + QByteArray::number(p[i], 16).rightJustified(2, '0');
            ++i;
            continue;
        }
        out.append(reinterpret_cast<const char*>(p + i), length);
        i += length;
    }
    return out;
}

QByteArray printableMessage(const QString& message, const QByteArray& dir)
{
    QByteArray text = message.toUtf8();
    const QByteArray shown = printable(dir);
    if (shown != dir && !dir.isEmpty())
        text.replace(QString::fromLocal8Bit(dir).toUtf8(), shown);
    return text;
}

QString printableText(const QByteArray& bytes)
{
    return QString::fromUtf8(printable(bytes));
}
