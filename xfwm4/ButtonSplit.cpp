// SPDX-License-Identifier: GPL-3.0-or-later
#include "xfwm4/ButtonSplit.h"

#include "style/StyleCheck.h"
#include "xfwm4/Pixels.h"

#include <QSet>
#include <algorithm>
#include <array>

namespace {

using Pixels::at;
using Pixels::row32;

using namespace ButtonSplit;

bool opaque(QRgb pixel)
{
    return qAlpha(pixel) == 255;
}

// The opaque pixels of from written over onto at the same places; onto is at least as large.
void putOpaque(QImage& onto, const QImage& from)
{
    for (int y = 0; y < from.height(); ++y) {
        const QRgb* source = row32(from, y);
        QRgb* target = row32(onto, y);
        for (int x = 0; x < from.width(); ++x)
            if (opaque(source[x]))
                target[x] = source[x];
    }
}

// The caption behind a button, as xfwm4 shows it there: the button centred on the caption, one
// pixel lower when the difference is odd, the caption tiled across; transparent off the caption.
QImage behind(QSize size, const QImage& caption)
{
    QImage out(size, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    if (caption.isNull())
        return out;
    const int top = (caption.height() - size.height() + 1) / 2;
    for (int y = 0; y < size.height(); ++y) {
        const int row = top + y;
        if (row < 0 || row >= caption.height())
            continue;
        const QRgb* from = row32(caption, row);
        QRgb* to = row32(out, y);
        for (int x = 0; x < size.width(); ++x)
            to[x] = from[x % caption.width()];
    }
    return out;
}

// The button over the caption behind it, as xfwm4 shows it.
QImage overCaption(const QImage& button, const QImage& under)
{
    QImage out = under;
    putOpaque(out, button);
    return out;
}

// What differs from the caption behind it; the rest transparent.
QImage lessCaption(const QImage& shown, const QImage& under, int& removed)
{
    QImage out = shown;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = row32(out, y);
        const QRgb* behind = row32(under, y);
        for (int x = 0; x < out.width(); ++x) {
            if (!opaque(line[x]))
                line[x] = 0;
            else if (line[x] == behind[x]) {
                line[x] = 0;
                ++removed;
            }
        }
    }
    return out;
}

QRect opaqueBounds(const QImage& image)
{
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = row32(image, y);
        for (int x = 0; x < image.width(); ++x)
            if (opaque(line[x])) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = y;
            }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage canvas(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage cropped(const QImage& image, const QRect& box)
{
    QImage out = canvas(box.size());
    const QRect inside = box & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const QRgb* from = row32(image, y);
        QRgb* to = row32(out, y - box.y());
        for (int x = inside.left(); x <= inside.right(); ++x)
            to[x - box.x()] = from[x];
    }
    return out;
}

// Smoothly, then cut at alpha 255 so that no half-covered pixel is painted opaque.
QImage scaled(const QImage& image, QSize size)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                     .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (!opaque(line[x]))
                line[x] = 0;
    }
    return out;
}

QImage padded(const QImage& image, int left, int top)
{
    QImage out = canvas(image.size() + QSize(left, top));
    for (int y = 0; y < image.height(); ++y)
        std::copy_n(row32(image, y), image.width(), row32(out, y + top) + left);
    return out;
}

using Grid = std::array<std::array<QImage, kStates>, kButtons>;
using Faces = std::array<QImage, 3>; // normal, over, press

constexpr QSize kRoom(kFaceWidth, kFaceHeight - 1); // one row kept for the colour key

template<typename F>
void eachButtonState(F f)
{
    for (int b = 0; b < kButtons; ++b)
        for (int s = 0; s < kStates; ++s)
            f(b, s);
}

template<typename F>
void eachPicture(Faces& face, Grid& rest, F f)
{
    for (QImage& image : face)
        f(image);
    for (auto& row : rest)
        for (QImage& image : row)
            f(image);
}

bool fits(QSize size, QSize room)
{
    return size.width() <= room.width() && size.height() <= room.height();
}

// The size of the same proportions that fits room.
QSize shrunkTo(QSize size, QSize room)
{
    const double f
        = std::min(double(room.width()) / size.width(), double(room.height()) / size.height());
    return QSize(std::max(1, int(size.width() * f)), std::max(1, int(size.height() * f)));
}

QSize largestSize(const Input& input)
{
    QSize largest;
    eachButtonState([&](int b, int s) { largest = largest.expandedTo(input.image[b][s].size()); });
    return largest.isEmpty() ? QSize(1, 1) : largest;
}

// The caption behind a button: the focused window's, or the unfocused one's for disable.
int captionOf(int state)
{
    return state == Disable ? 1 : 0;
}

struct Shown
{
    Grid shown;
    std::array<QImage, 2> under; // the caption behind, by captionOf
    QRect box; // what differs from the caption in any of them
};

Shown showOverCaption(const Input& input, QList<QByteArray>& lines)
{
    Shown out;
    const QSize largest = largestSize(input);
    for (int c = 0; c < 2; ++c)
        out.under[c] = behind(largest, input.caption[c]);
    eachButtonState([&](int b, int s) {
        const QImage& under = out.under[captionOf(s)];
        out.shown[b][s] = overCaption(input.image[b][s], under);
        int ignored = 0;
        out.box |= opaqueBounds(lessCaption(out.shown[b][s], under, ignored));
    });
    if (out.box.isEmpty())
        out.box = QRect(0, 0, 1, 1);
    if (out.box.size() != largest)
        lines.append("buttons: " + sizeText(largest).toLatin1()
            + " cropped to what differs from the caption behind them, "
            + sizeText(out.box.size()).toLatin1());
    return out;
}

// Scaled with the caption behind, so that a glyph's edge blends with what xfwm4 shows around
// it; then the pixels still equal to the caption become the key.
Grid fitToRoom(const Shown& shown, QList<QByteArray>& lines)
{
    const QRect box = shown.box;
    QSize to = box.size();
    if (!fits(to, kRoom)) {
        to = shrunkTo(to, kRoom);
        lines.append("buttons: " + sizeText(box.size()).toLatin1() + " scaled down smoothly to "
            + sizeText(to).toLatin1() + " to fit the form's "
            + sizeText({ kFaceWidth, kFaceHeight }).toLatin1()
            + " places, each pixel a blend of its neighbours, cut at alpha 255");
    }
    const auto fitted = [&](const QImage& image) {
        const QImage cut = cropped(image, box);
        return to != box.size() ? scaled(cut, to) : cut;
    };
    const std::array<QImage, 2> under { fitted(shown.under[0]), fitted(shown.under[1]) };
    Grid work;
    int removed = 0;
    eachButtonState([&](int b, int s) {
        work[b][s] = lessCaption(fitted(shown.shown[b][s]), under[captionOf(s)], removed);
    });
    if (removed > 0)
        lines.append("buttons: " + QByteArray::number(removed)
            + " pixels equal to the caption behind them made the colour key");
    return work;
}

QImage common(const QImage& a, const QImage& b, const QImage& c, bool& any)
{
    QImage out = canvas(a.size());
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *pa = row32(a, y), *pb = row32(b, y), *pc = row32(c, y);
        QRgb* to = row32(out, y);
        for (int x = 0; x < a.width(); ++x)
            if (opaque(pa[x]) && pb[x] == pa[x] && pc[x] == pa[x]) {
                to[x] = pa[x];
                any = true;
            }
    }
    return out;
}

// The face of a state: what hide, maximize and close have in common there.
Faces sharedFaces(const Grid& work, bool& shared)
{
    Faces face;
    shared = false;
    for (int s = 0; s < 3; ++s)
        face[s] = common(work[Minimize][s], work[Maximize][s], work[Close][s], shared);
    return face;
}

QImage lessFace(const QImage& image, const QImage& face)
{
    QImage out = image;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = row32(out, y);
        const QRgb* under = row32(face, y);
        for (int x = 0; x < out.width(); ++x)
            if (opaque(under[x]) && line[x] == under[x])
                line[x] = 0;
    }
    return out;
}

// The rest of each button over its face; the window has no unfocused face, so a disable glyph
// is the unfocused button less the normal face.
Grid lessFaces(const Grid& work, const Faces& face)
{
    Grid rest;
    eachButtonState(
        [&](int b, int s) { rest[b][s] = lessFace(work[b][s], face[s == Disable ? Normal : s]); });
    return rest;
}

// How far the face must grow left and up so that no glyph pixel lies before its offset.
QPoint glyphPadding(const Grid& rest)
{
    int padLeft = 0, padTop = 0;
    eachButtonState([&](int b, int s) {
        const QRect r = opaqueBounds(rest[b][s]);
        if (r.isEmpty())
            return;
        padLeft = std::max(padLeft, glyphOffset(Button(b)).x() - r.left());
        padTop = std::max(padTop, glyphOffset(Button(b)).y() - r.top());
    });
    return { padLeft, padTop };
}

// Fit the places: a glyph lies at its offset in the face, so a rest pixel left of or above
// that offset needs the face padded, and a face larger than its place is scaled down.
void fitPlaces(Faces& face, Grid& rest, bool shared, QList<QByteArray>& lines)
{
    const QSize before = face[0].size();
    for (int round = 0; round < 4; ++round) {
        const QPoint pad = shared ? glyphPadding(rest) : QPoint();
        if (pad.x() > 0 || pad.y() > 0)
            eachPicture(
                face, rest, [&](QImage& image) { image = padded(image, pad.x(), pad.y()); });
        const QSize size = face[0].size();
        if (fits(size, kRoom))
            break;
        const QSize to = shrunkTo(size, kRoom);
        eachPicture(face, rest, [&](QImage& image) { image = scaled(image, to); });
    }
    if (face[0].size() != before)
        lines.append("buttons: the face made " + sizeText(face[0].size()).toLatin1()
            + " so that each glyph lies at its offset in it");
}

void keyAll(const Faces& face, const Grid& rest, bool shared, Output& output)
{
    for (int s = 0; s < 3; ++s)
        output.face[s] = keyed(face[s]);
    eachButtonState([&](int b, int s) {
        QImage glyph = rest[b][s];
        if (shared) {
            const QPoint at = glyphOffset(Button(b));
            glyph = cropped(glyph, QRect(at, glyph.size() - QSize(at.x(), at.y())));
        }
        output.glyph[b][s] = keyed(glyph);
    });
}

void evenOut(QList<QImage*> pictures)
{
    QSize size;
    for (QImage* p : pictures)
        size = size.expandedTo(p->size());
    for (QImage* p : pictures)
        if (p->size() != size) {
            QImage out(size, QImage::Format_RGB32);
            const QRgb key = at(*p, 0, p->height() - 1);
            out.fill(key);
            for (int y = 0; y < p->height(); ++y)
                std::copy_n(row32(*p, y), p->width(), row32(out, y));
            // The key stays at the bottom left.
            for (int y = p->height(); y < size.height(); ++y)
                Pixels::set(out, 0, y, key);
            *p = out;
        }
}

// Every glyph of a button, and every face, of one size, so nothing changes shape under the
// pointer.
void evenOutSizes(Output& output)
{
    evenOut({ &output.face[0], &output.face[1], &output.face[2] });
    for (auto& glyphs : output.glyph)
        evenOut({ &glyphs[0], &glyphs[1], &glyphs[2], &glyphs[3] });
}

} // namespace

namespace ButtonSplit {

QPoint glyphOffset(Button button)
{
    switch (button) {
    case Minimize:
        return { 4, 2 };
    case Restore:
        return { 3, 3 };
    default:
        return { 3, 2 };
    }
}

QImage keyed(const QImage& image)
{
    QSet<QRgb> used;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = row32(image, y);
        for (int x = 0; x < image.width(); ++x)
            if (opaque(line[x]))
                used.insert(line[x]);
    }
    QRgb key = qRgb(255, 0, 255);
    for (int step = 0; used.contains(key); ++step)
        key = qRgb(255 - (step % 256), step / 256 % 256, 255);
    const bool cornerOpaque = image.height() > 0 && opaque(at(image, 0, image.height() - 1));
    const QSize size(
        std::max(image.width(), 1), std::max(image.height(), 1) + (cornerOpaque ? 1 : 0));
    QImage out(size, QImage::Format_RGB32);
    out.fill(key);
    putOpaque(out, image);
    return out;
}

Output split(const Input& input)
{
    Output output;
    const Shown shown = showOverCaption(input, output.lines);
    const Grid work = fitToRoom(shown, output.lines);
    bool shared = false;
    Faces face = sharedFaces(work, shared);
    Grid rest = lessFaces(work, face);
    fitPlaces(face, rest, shared, output.lines);
    keyAll(face, rest, shared, output);
    evenOutSizes(output);
    output.sharedFace = shared;
    if (!shared)
        output.lines.append("captionbutton_normal.png, captionbutton_over.png, "
                            "captionbutton_press.png: hide, maximize and close share no face: "
                            "the faces are all key colour and each glyph carries its whole button");
    else
        output.lines.append("buttons: the face is what hide, maximize and close share, each "
                            "glyph the rest, on a colour key");
    return output;
}

} // namespace ButtonSplit
