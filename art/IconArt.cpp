// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconArt.h"

#include "FrameArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace art {

namespace {

const Palette kSheetInk = { { 'k', 0xff3c3c3c }, { 'w', 0xfffdfdfd }, { 'g', 0xffc4c4c4 } };

const Palette kFolderInk = { { 'o', 0xff8a6410 }, { 'y', 0xfff8d448 }, { 'Y', 0xfffff0a0 },
    { 'd', 0xffd8a828 }, { 'r', 0xffe02010 } };

const Grid kSheet = {
    "................",
    "..kkkkkkkk......",
    "..kwwwwwwkk.....",
    "..kwwwwwwkgk....",
    "..kwwwwwwkggk...",
    "..kwwwwwwkkkkk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
};

const Grid kOpenFolder = {
    "................",
    "..........rrr...",
    ".........r...r..",
    ".ooo....r...rrr.",
    "oYYYo........r..",
    "odddYoooooooo...",
    "odddddddddddo...",
    "odddddddddddo...",
    "oddooooooooooooo",
    "oddoYYYYYYYYYYo.",
    "odoyyyyyyyyyyo..",
    "ooyyyyyyyyyyo...",
    "oyyyyyyyyyyo....",
    "oooooooooooo....",
    "................",
    "................",
};

const Grid kClosedFolder = {
    "................",
    "................",
    ".oooo...........",
    "oYYYYo..........",
    "oYyyyyoooooooo..",
    "oYYYYYYYYYYYYYo.",
    "oYyyyyyyyyyyyyo.",
    "oYyyyyyyyyyyyyo.",
    "oYyyyyyyyyyyyyo.",
    "oYyyyyyyyyyyyyo.",
    "oYyyyyyyyyyyyyo.",
    "oYyyyyyyyyyyyyo.",
    "oYddddddddddddo.",
    "ooooooooooooooo.",
    "................",
    "................",
};

QImage gridPicture(int size, QRgb background, const Grid& rows, const Palette& palette)
{
    QImage image = canvas(size, size, background);
    stamp(image, 0, 0, rows, palette);
    return image;
}

// Drawn from the size so the tool bar's 18-pixel disk and the list's 16-pixel one share a shape.
QImage floppy(int size, QRgb background)
{
    constexpr QRgb outline = 0xff173c84;
    constexpr QRgb body = 0xff2e62c8;
    constexpr QRgb light = 0xff6a98e8;
    QImage image = canvas(size, size, background);
    const int last = size - 1;
    fill(image, 0, 0, size, size, outline);
    fill(image, 1, 1, size - 2, size - 2, body);
    fill(image, 1, 1, 1, size - 2, light);
    // The chamfered corner of a real disk.
    image.setPixel(last, 0, background);
    image.setPixel(last - 1, 0, outline);
    image.setPixel(last, 1, outline);
    image.setPixel(last - 1, 1, outline);
    image.setPixel(0, last, background);
    image.setPixel(last, last, background);

    const int shutterLeft = size / 4;
    const int shutterWidth = size - 2 * shutterLeft;
    const int shutterHeight = size * 3 / 8;
    fill(image, shutterLeft, 0, shutterWidth, shutterHeight, 0xff5a6478);
    fill(image, shutterLeft + 1, 0, shutterWidth - 2, shutterHeight - 1, 0xffc8ccd6);
    fill(image, shutterLeft + 1, 0, shutterWidth - 2, 1, 0xffe8eaf0);
    fill(image, shutterLeft + shutterWidth - 4, 1, 2, shutterHeight - 3, 0xff2a3040);

    const int labelTop = size / 2;
    fill(image, 3, labelTop, size - 6, last - labelTop, 0xfff6f6f2);
    for (int y = labelTop + 2; y < last - 1; y += 2)
        fill(image, 4, y, size - 8, 1, 0xffa8b4c8);
    fill(image, 3, labelTop, size - 6, 1, 0xffd83030);
    return image;
}

QImage smallWindow(QRgb background)
{
    QImage image = canvas(16, 16, background);
    fill(image, 1, 1, 14, 14, 0xff1c4a96);
    fill(image, 2, 2, 12, 1, 0xff86b4f0);
    fill(image, 2, 3, 12, 1, 0xff4f88d6);
    fill(image, 2, 4, 12, 1, 0xff3c72c4);
    fill(image, 2, 5, 12, 9, 0xff4f88d6);
    fill(image, 3, 5, 10, 8, 0xfffdfdfd);
    fill(image, 10, 2, 3, 3, 0xffd8401c);
    image.setPixel(11, 3, 0xfff8d8c8);
    fill(image, 3, 3, 2, 1, 0xfff0c040);
    return image;
}

QPainterPath starPath(QPointF centre, double outer, double inner)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? outer : inner;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point(
            centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    return star;
}

void paintAppIcon(QPainter& p, double size)
{
    p.setRenderHint(QPainter::Antialiasing);
    const auto at = [size](double x, double y) { return QPointF(x * size, y * size); };
    const double pen = std::max(1.0, size * 0.022);
    p.setPen(QPen(QColor(0x17, 0x3c, 0x84), pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    QLinearGradient front(at(0, 0.46), at(0, 0.94));
    front.setColorAt(0, QColor(0x5c, 0x94, 0xe0));
    front.setColorAt(1, QColor(0x26, 0x56, 0xaa));
    p.setBrush(front);
    p.drawPolygon(QPolygonF({ at(0.2, 0.46), at(0.82, 0.46), at(0.82, 0.94), at(0.2, 0.94) }));
    p.setBrush(QColor(0x9c, 0xc2, 0xf4));
    p.drawPolygon(QPolygonF({ at(0.2, 0.46), at(0.82, 0.46), at(0.96, 0.32), at(0.34, 0.32) }));
    p.setBrush(QColor(0x2c, 0x5c, 0xb0));
    p.drawPolygon(QPolygonF({ at(0.82, 0.46), at(0.96, 0.32), at(0.96, 0.8), at(0.82, 0.94) }));

    const QPointF centre = at(0.38, 0.4);
    const QPainterPath star = starPath(centre, size * 0.36, size * 0.15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawPath(star.translated(size * 0.03, size * 0.04));
    QRadialGradient glow(centre - QPointF(size * 0.07, size * 0.09), size * 0.4);
    glow.setColorAt(0.0, QColor(0xff, 0xf6, 0xb0));
    glow.setColorAt(0.5, QColor(0xfa, 0xd2, 0x2a));
    glow.setColorAt(1.0, QColor(0xe6, 0x9a, 0x10));
    p.setPen(QPen(QColor(0xa0, 0x62, 0x00), pen * 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(glow);
    p.drawPath(star);
}

QImage appIcon16()
{
    QImage image = canvas(16, 16, kMagenta);
    fill(image, 4, 5, 12, 11, 0xff173c84);
    fill(image, 5, 6, 10, 2, 0xff9cc2f4);
    fill(image, 5, 8, 10, 1, 0xff173c84);
    fill(image, 5, 9, 10, 6, 0xff3f78cc);
    fill(image, 13, 9, 2, 6, 0xff2a5aaa);
    fill(image, 5, 9, 10, 1, 0xff5c94e0);
    stamp(image, 0, 0,
        {
            "....o....",
            "...oYo...",
            "...oyo...",
            "oooYyyooo",
            "oYYyyyyyo",
            ".oyyyyyo.",
            "..oyyyo..",
            ".oyyoyyo.",
            ".oyo.oyo.",
            ".oo...oo.",
        },
        { { 'o', 0xffa06200 }, { 'y', 0xfff8cc20 }, { 'Y', 0xfffff0a0 } });
    return image;
}

QImage paintedIcon(int size, void (*paint)(QPainter&, double))
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paint(p, size);
    return image;
}

QImage whiteBoard(int size)
{
    return canvas(size, size, kWhite);
}

void frameRect(QPainter& p, const QRectF& rect, const QColor& pen, const QBrush& inside)
{
    p.fillRect(rect, pen);
    p.fillRect(rect.adjusted(1, 1, -1, -1), inside);
}

QLinearGradient vertical(const QRectF& rect, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

enum class Knob { Minimize, Maximize, Close };

void captionKnob(QPainter& p, const QRectF& rect, Knob knob)
{
    const bool close = knob == Knob::Close;
    p.setPen(QPen(close ? QColor(0xfa, 0xe6, 0xde) : QColor(0xe8, 0xf0, 0xfc), 1));
    p.setBrush(vertical(rect, close ? QColor(0xf2, 0x92, 0x70) : QColor(0x8e, 0xba, 0xf4),
        close ? QColor(0xc4, 0x34, 0x16) : QColor(0x36, 0x6a, 0xc2)));
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 1.6, 1.6);
    const QColor ink(0xfc, 0xfc, 0xfc);
    const double x = rect.left();
    const double y = rect.top();
    switch (knob) {
    case Knob::Minimize:
        p.fillRect(QRectF(x + 2, y + 4.5, 3, 1.2), ink);
        break;
    case Knob::Maximize:
        p.fillRect(QRectF(x + 2, y + 2, 3.5, 1.2), ink);
        p.setPen(QPen(ink, 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(x + 2.4, y + 2.4, 2.7, 2.8));
        break;
    case Knob::Close:
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(
            QPointF(x + 2.2, y + 2.2), QPointF(x + rect.width() - 2.2, y + rect.height() - 2.2));
        p.drawLine(
            QPointF(x + rect.width() - 2.2, y + 2.2), QPointF(x + 2.2, y + rect.height() - 2.2));
        break;
    }
}

// The sample window frame the first list pictures share: outline, caption, blue frame, white body.
QRectF blueWindow(QPainter& p, const QRectF& outer, int captionHeight)
{
    p.fillRect(outer.translated(2, 2), QColor(0, 0, 0, 36));
    frameRect(p, outer, QColor(0x1c, 0x4a, 0x96), QColor(0x4f, 0x88, 0xd6));
    const QRectF caption(outer.left() + 1, outer.top() + 1, outer.width() - 2, captionHeight);
    QLinearGradient bar(caption.topLeft(), caption.bottomLeft());
    bar.setColorAt(0, QColor(0x9a, 0xc2, 0xf6));
    bar.setColorAt(0.25, QColor(0x5e, 0x96, 0xe2));
    bar.setColorAt(0.8, QColor(0x44, 0x7c, 0xce));
    bar.setColorAt(1, QColor(0x2e, 0x60, 0xb0));
    p.fillRect(caption, bar);
    const double knob = captionHeight - 3;
    double x = caption.right() - knob - 1;
    captionKnob(p, QRectF(x, caption.top() + 1.5, knob, knob), Knob::Close);
    x -= knob + 1;
    captionKnob(p, QRectF(x, caption.top() + 1.5, knob, knob), Knob::Maximize);
    x -= knob + 1;
    captionKnob(p, QRectF(x, caption.top() + 1.5, knob, knob), Knob::Minimize);
    return QRectF(outer.left() + 3, caption.bottom(), outer.width() - 6,
        outer.bottom() - caption.bottom() - 2);
}

void desktopFolder(QPainter& p, double x, double y)
{
    p.setPen(QPen(QColor(0x9a, 0x70, 0x10), 0.8));
    p.setBrush(QColor(0xe0, 0xb0, 0x30));
    p.drawRect(QRectF(x + 0.5, y + 0.5, 3.5, 2));
    p.setBrush(
        vertical(QRectF(x, y + 1.5, 9, 6), QColor(0xff, 0xe6, 0x80), QColor(0xf0, 0xc0, 0x30)));
    p.drawRect(QRectF(x + 0.5, y + 1.8, 8.5, 5.7));
}

void desktopComputer(QPainter& p, double x, double y)
{
    p.setPen(QPen(QColor(0x50, 0x50, 0x58), 0.8));
    p.setBrush(QColor(0xd8, 0xd8, 0xdc));
    p.drawRect(QRectF(x + 0.5, y + 0.5, 8.5, 6));
    p.fillRect(QRectF(x + 1.8, y + 1.8, 6, 3.5), QColor(0x30, 0x70, 0xd8));
    p.fillRect(QRectF(x + 2.5, y + 2.3, 2, 1), QColor(0x9c, 0xd0, 0xff));
    p.fillRect(QRectF(x + 3, y + 7, 3.5, 1.2), QColor(0x80, 0x80, 0x88));
}

void desktopDocument(QPainter& p, double x, double y)
{
    p.setPen(QPen(QColor(0x60, 0x60, 0x70), 0.8));
    p.setBrush(QColor(0xfd, 0xfd, 0xfd));
    p.drawRect(QRectF(x + 1.5, y + 0.5, 6, 8));
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRectF(x + 2.8, y + 2.2 + i * 2, 3.5, 0.9), QColor(0x4a, 0x7c, 0xd0));
}

void desktopBin(QPainter& p, double x, double y)
{
    p.setPen(QPen(QColor(0x40, 0x60, 0x50), 0.8));
    p.setBrush(vertical(QRectF(x, y, 8, 8), QColor(0xb8, 0xd8, 0xc8), QColor(0x70, 0x98, 0x84)));
    QPainterPath bin;
    bin.moveTo(x + 1, y + 1.5);
    bin.lineTo(x + 8, y + 1.5);
    bin.lineTo(x + 7, y + 8.5);
    bin.lineTo(x + 2, y + 8.5);
    bin.closeSubpath();
    p.drawPath(bin);
    p.drawLine(QPointF(x + 3.5, y + 3), QPointF(x + 3.8, y + 7.5));
    p.drawLine(QPointF(x + 5.5, y + 3), QPointF(x + 5.2, y + 7.5));
}

void iconLabel(QPainter& p, double x, double y)
{
    p.fillRect(QRectF(x, y, 9, 1.2), QColor(0x88, 0x90, 0xa0));
}

void paintDesktopWindow(QPainter& p)
{
    const QRectF body = blueWindow(p, QRectF(2, 5, 45, 41), 10);
    p.fillRect(body, QColor(0xfd, 0xfd, 0xfd));
    const double left = body.left() + 3;
    const double top = body.top() + 3;
    desktopComputer(p, left, top);
    iconLabel(p, left, top + 10);
    desktopFolder(p, left + 14, top);
    iconLabel(p, left + 14, top + 10);
    desktopDocument(p, left, top + 14);
    iconLabel(p, left, top + 24);
    desktopBin(p, left + 14, top + 14);
    iconLabel(p, left + 14, top + 24);
    desktopFolder(p, left + 28, top);
    iconLabel(p, left + 28, top + 10);
}

void flag(QPainter& p, double x, double y, double cell)
{
    p.fillRect(QRectF(x, y, cell, cell), QColor(0xf2, 0x50, 0x22));
    p.fillRect(QRectF(x + cell + 0.6, y, cell, cell), QColor(0x7f, 0xd0, 0x10));
    p.fillRect(QRectF(x, y + cell + 0.6, cell, cell), QColor(0x10, 0x94, 0xef));
    p.fillRect(QRectF(x + cell + 0.6, y + cell + 0.6, cell, cell), QColor(0xff, 0xc0, 0x10));
}

void paintTaskBar(QPainter& p)
{
    // One row clear at the bottom keeps the bottom-left pixel the background white.
    p.translate(0, -1);
    const QRectF bar(0, 41, 50, 9);
    QLinearGradient blue(bar.topLeft(), bar.bottomLeft());
    blue.setColorAt(0, QColor(0x6a, 0xa0, 0xf0));
    blue.setColorAt(0.15, QColor(0x3a, 0x78, 0xe0));
    blue.setColorAt(1, QColor(0x20, 0x54, 0xc0));
    p.fillRect(bar, blue);
    p.fillRect(QRectF(38, 41, 12, 9),
        vertical(QRectF(38, 41, 12, 9), QColor(0x3c, 0xa8, 0xf4), QColor(0x10, 0x7c, 0xe0)));
    p.fillRect(QRectF(38, 41, 1, 9), QColor(0x12, 0x4c, 0xb0));
    p.fillRect(QRectF(41, 44, 3, 3), QColor(0xf8, 0xd0, 0x40));
    p.fillRect(QRectF(45, 44, 3, 3), QColor(0x60, 0xd0, 0x60));
    p.setPen(QPen(QColor(0x1a, 0x48, 0xb0), 0.8));
    p.setBrush(vertical(QRectF(20, 43, 15, 6), QColor(0x74, 0xa8, 0xf4), QColor(0x3c, 0x78, 0xe0)));
    p.drawRoundedRect(QRectF(20.5, 43, 15, 5.5), 1.2, 1.2);
    p.fillRect(QRectF(22, 44.5, 2.5, 2.5), QColor(0x9c, 0xc8, 0xf8));

    QPainterPath start;
    start.moveTo(0, 41);
    start.lineTo(13, 41);
    start.quadTo(18, 41, 18, 45.5);
    start.quadTo(18, 50, 13, 50);
    start.lineTo(0, 50);
    start.closeSubpath();
    QLinearGradient green(QPointF(0, 41), QPointF(0, 50));
    green.setColorAt(0, QColor(0x8c, 0xdc, 0x7c));
    green.setColorAt(0.2, QColor(0x4e, 0xb4, 0x46));
    green.setColorAt(1, QColor(0x2a, 0x80, 0x28));
    p.setPen(QPen(QColor(0x1e, 0x60, 0x1c), 0.8));
    p.setBrush(green);
    p.drawPath(start);
    p.save();
    p.translate(3.5, 42.5);
    p.rotate(-6);
    flag(p, 0, 0, 2.4);
    p.restore();
    p.fillRect(QRectF(10, 45, 5, 1.4), QColor(0xf0, 0xfc, 0xf0));

    const QRectF menu(1, 4, 31, 37);
    p.fillRect(menu.translated(1.5, 0), QColor(0, 0, 0, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1c, 0x4a, 0x96));
    p.drawRoundedRect(menu, 3, 3);
    p.fillRect(QRectF(1, 30, 31, 11), QColor(0x1c, 0x4a, 0x96));
    const QRectF head(2, 5, 29, 7);
    p.setBrush(vertical(head, QColor(0x5c, 0x98, 0xec), QColor(0x22, 0x5c, 0xc8)));
    p.drawRoundedRect(head, 2.5, 2.5);
    frameRect(p, QRectF(3.5, 6, 6, 5.5), QColor(0xfa, 0xfa, 0xfa), QColor(0xf0, 0x9c, 0x30));
    p.fillRect(QRectF(5, 7.5, 3, 2.5), QColor(0x60, 0xa8, 0xe8));
    p.fillRect(QRectF(11.5, 8, 10, 1.5), QColor(0xe4, 0xee, 0xfc));
    p.fillRect(QRectF(2, 12, 29, 1), QColor(0xf0, 0x9c, 0x40));
    p.fillRect(QRectF(2, 13, 16, 23), QColor(0xfd, 0xfd, 0xfd));
    p.fillRect(QRectF(18, 13, 13, 23), QColor(0xd3, 0xe5, 0xfa));
    p.fillRect(QRectF(18, 13, 0.8, 23), QColor(0x9c, 0xbc, 0xea));
    const QColor items[] = { QColor(0x2a, 0x66, 0xd8), QColor(0x30, 0xa8, 0x40),
        QColor(0xe0, 0x80, 0x20), QColor(0x90, 0x50, 0xc0) };
    for (int i = 0; i < 4; ++i) {
        const double y = 15 + i * 5;
        frameRect(p, QRectF(3.5, y, 4, 4), items[i].darker(140), items[i]);
        p.fillRect(QRectF(9, y + 1.4, 7, 1.2), QColor(0x70, 0x70, 0x78));
    }
    const QColor places[] = { QColor(0xf0, 0xc0, 0x30), QColor(0x40, 0x80, 0xe0),
        QColor(0x50, 0xb0, 0x60), QColor(0xa0, 0x60, 0x40), QColor(0x60, 0x90, 0xc0) };
    for (int i = 0; i < 5; ++i) {
        const double y = 14.5 + i * 4.2;
        p.fillRect(QRectF(19.5, y, 3, 3), places[i]);
        p.fillRect(QRectF(24, y + 1, 5.5, 1), QColor(0x1a, 0x3c, 0x80));
    }
    p.fillRect(QRectF(2, 36, 29, 4),
        vertical(QRectF(2, 36, 29, 4), QColor(0x4a, 0x86, 0xe4), QColor(0x24, 0x5c, 0xc8)));
    p.setBrush(QColor(0xf0, 0xa0, 0x30));
    p.drawRoundedRect(QRectF(19, 36.6, 3, 3), 0.6, 0.6);
    p.setBrush(QColor(0xe0, 0x3c, 0x1c));
    p.drawRoundedRect(QRectF(25, 36.6, 3, 3), 0.6, 0.6);
}

void paintExplorer(QPainter& p)
{
    const QRectF body = blueWindow(p, QRectF(1, 3, 47, 44), 8);
    p.fillRect(QRectF(body.left(), body.top(), body.width(), 4), QColor(0xee, 0xf3, 0xfb));
    p.fillRect(QRectF(body.left() + 1, body.top() + 1, 2.5, 2.5), QColor(0x40, 0xa0, 0x40));
    p.fillRect(QRectF(body.left() + 5, body.top() + 1, 2.5, 2.5), QColor(0x40, 0x80, 0xe0));
    p.fillRect(QRectF(body.left() + 9, body.top() + 1, 2.5, 2.5), QColor(0xe0, 0xb0, 0x30));
    p.fillRect(QRectF(body.left(), body.top() + 4, body.width(), 0.8), QColor(0xa8, 0xc0, 0xe0));

    const QRectF pane(body.left(), body.top() + 5, 14, body.height() - 5);
    p.fillRect(pane, vertical(pane, QColor(0x7b, 0xa2, 0xe7), QColor(0x63, 0x75, 0xd6)));
    for (int box = 0; box < 2; ++box) {
        const QRectF head(pane.left() + 1.5, pane.top() + 2 + box * 16, 11, 3.5);
        p.setPen(Qt::NoPen);
        QLinearGradient shine(head.topLeft(), head.topRight());
        shine.setColorAt(0, QColor(0xfd, 0xfd, 0xfd));
        shine.setColorAt(1, QColor(0xc6, 0xd3, 0xf7));
        p.setBrush(shine);
        p.drawRoundedRect(head, 1.5, 1.5);
        p.fillRect(QRectF(head.left() + 1, head.top() + 1.2, 5, 1.1), QColor(0x21, 0x5d, 0xc6));
        const QRectF list(head.left(), head.bottom(), head.width(), 10);
        p.fillRect(list, QColor(0xd6, 0xdf, 0xf7));
        for (int row = 0; row < 3; ++row) {
            const double y = list.top() + 1.5 + row * 3;
            p.fillRect(QRectF(list.left() + 1, y, 2, 2), QColor(0x30, 0x70, 0xd8));
            p.fillRect(QRectF(list.left() + 4, y + 0.6, 5.5, 1), QColor(0x21, 0x5d, 0xc6));
        }
    }

    const QRectF files(pane.right(), pane.top(), body.right() - pane.right(), pane.height());
    p.fillRect(files, QColor(0xfd, 0xfd, 0xfd));
    p.fillRect(QRectF(files.left(), files.top(), files.width(), 3), QColor(0xe6, 0xec, 0xf6));
    p.fillRect(QRectF(files.left() + 14, files.top(), 0.8, 3), QColor(0xa0, 0xb0, 0xc8));
    const QColor kinds[] = { QColor(0xf0, 0xc0, 0x30), QColor(0xf0, 0xc0, 0x30),
        QColor(0x40, 0x80, 0xe0), QColor(0x40, 0x80, 0xe0), QColor(0x50, 0xa0, 0x50),
        QColor(0x40, 0x80, 0xe0), QColor(0xd0, 0x50, 0x40) };
    for (int row = 0; row < 7; ++row) {
        const double y = files.top() + 4.5 + row * 4;
        const bool chosen = row == 2;
        if (chosen)
            p.fillRect(QRectF(files.left() + 0.5, y - 0.7, files.width() - 1, 3.6),
                QColor(0x31, 0x6a, 0xc5));
        p.fillRect(QRectF(files.left() + 1.5, y, 2.2, 2.2), kinds[row]);
        p.fillRect(QRectF(files.left() + 5, y + 0.6, 7 + (row * 3) % 5, 1),
            chosen ? QColor(0xfd, 0xfd, 0xfd) : QColor(0x40, 0x48, 0x60));
        p.fillRect(QRectF(files.left() + 16, y + 0.6, 6, 1),
            chosen ? QColor(0xc8, 0xd8, 0xf4) : QColor(0xa0, 0xa8, 0xb8));
    }
}

void blob(QPainter& p, QPointF centre, double radius, const QColor& colour)
{
    QRadialGradient paint(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
    paint.setColorAt(0, colour.lighter(150));
    paint.setColorAt(0.45, colour);
    paint.setColorAt(1, colour.darker(130));
    p.setPen(QPen(colour.darker(170), 0.7));
    p.setBrush(paint);
    QPainterPath shape;
    shape.addEllipse(centre, radius, radius * 0.85);
    p.drawPath(shape);
}

void paintPalette(QPainter& p)
{
    QPainterPath board;
    board.addEllipse(QRectF(2, 9, 44, 34));
    QPainterPath hole;
    hole.addEllipse(QRectF(29, 28, 7.5, 6.5));
    QPainterPath notch;
    notch.addEllipse(QRectF(38, 31, 12, 12));
    board = board.subtracted(hole).subtracted(notch);

    p.save();
    p.translate(25, 26);
    p.rotate(-12);
    p.translate(-25, -26);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawPath(board.translated(1.5, 2));
    QLinearGradient wood(QPointF(8, 10), QPointF(40, 44));
    wood.setColorAt(0, QColor(0xf6, 0xd8, 0xa0));
    wood.setColorAt(1, QColor(0xc4, 0x8c, 0x50));
    p.setPen(QPen(QColor(0x86, 0x56, 0x26), 1.2));
    p.setBrush(wood);
    p.drawPath(board);
    blob(p, QPointF(10, 23), 3.6, QColor(0xe0, 0x20, 0x20));
    blob(p, QPointF(15, 15.5), 3.6, QColor(0xf0, 0x90, 0x10));
    blob(p, QPointF(24, 13), 3.6, QColor(0xf8, 0xe0, 0x20));
    blob(p, QPointF(33, 14.5), 3.6, QColor(0x30, 0xb0, 0x30));
    blob(p, QPointF(40, 21), 3.4, QColor(0x20, 0x60, 0xe0));
    blob(p, QPointF(11, 32), 3.4, QColor(0x90, 0x30, 0xb0));
    blob(p, QPointF(19.5, 37), 3.2, QColor(0xf2, 0xf2, 0xf0));
    p.restore();

    p.setPen(QPen(QColor(0xa8, 0x30, 0x18), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(47, 3), QPointF(36.5, 15));
    p.setPen(QPen(QColor(0xb8, 0xba, 0xc4), 3.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(36.5, 15), QPointF(34, 18));
    QPainterPath tip;
    tip.moveTo(32.6, 16.6);
    tip.lineTo(35.4, 19.2);
    tip.quadTo(32, 23, 28.5, 24.5);
    tip.quadTo(29.8, 20, 32.6, 16.6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x50, 0xc8));
    p.drawPath(tip);
}

void haloStroke(QPainter& p, const QPainterPath& path, const QColor& colour, double width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xfd, 0xfd, 0xfd), width + 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

void paintLetters(QPainter& p)
{
    QPainterPath tee;
    tee.moveTo(5, 4);
    tee.lineTo(41, 4);
    tee.lineTo(41, 15);
    tee.lineTo(38.5, 15);
    tee.quadTo(37.5, 10.5, 33, 10.5);
    tee.lineTo(27, 10.5);
    tee.lineTo(27, 40);
    tee.quadTo(27, 42, 31, 42.5);
    tee.lineTo(31, 45);
    tee.lineTo(15, 45);
    tee.lineTo(15, 42.5);
    tee.quadTo(19, 42, 19, 40);
    tee.lineTo(19, 10.5);
    tee.lineTo(13, 10.5);
    tee.quadTo(8.5, 10.5, 7.5, 15);
    tee.lineTo(5, 15);
    tee.closeSubpath();
    QLinearGradient blue(QPointF(0, 4), QPointF(0, 45));
    blue.setColorAt(0, QColor(0x4a, 0x80, 0xf0));
    blue.setColorAt(1, QColor(0x1a, 0x3c, 0xa8));
    p.setPen(QPen(QColor(0x12, 0x30, 0x86), 1));
    p.setBrush(blue);
    p.drawPath(tee);

    QPainterPath a;
    a.moveTo(5, 29);
    a.cubicTo(6.5, 24, 16, 23.5, 16, 30.5);
    a.lineTo(16, 43);
    a.quadTo(16, 45, 19, 45);
    QPainterPath bowl;
    bowl.moveTo(16, 35);
    bowl.cubicTo(10, 34, 4.5, 36, 4.5, 40.5);
    bowl.cubicTo(4.5, 45.5, 13, 46, 16, 41);
    a.addPath(bowl);
    haloStroke(p, a, QColor(0x8b, 0x4a, 0x1c), 3.4);

    QPainterPath letter;
    letter.moveTo(30, 46);
    letter.lineTo(39, 22);
    letter.lineTo(46.5, 46);
    letter.moveTo(33, 38);
    letter.lineTo(44, 38);
    letter.moveTo(28, 46);
    letter.lineTo(33, 46);
    letter.moveTo(44, 46);
    letter.lineTo(49, 46);
    // An upright A sheared about its base line is what makes it read as italic.
    QTransform italic;
    italic.translate(0, 46);
    italic.shear(-0.28, 0);
    italic.translate(-1, -46);
    haloStroke(p, italic.map(letter), QColor(0xd4, 0x1c, 0x1c), 2.8);
}

void sunken(QPainter& p, const QRectF& rect, const QColor& inside)
{
    p.fillRect(rect, QColor(0x80, 0x80, 0x80));
    p.fillRect(rect.adjusted(1, 1, 0, 0), QColor(0xfd, 0xfd, 0xfd));
    p.fillRect(rect.adjusted(1, 1, -1, -1), inside);
}

void raised(QPainter& p, const QRectF& rect, bool chosen)
{
    p.fillRect(rect, chosen ? QColor(0x10, 0x10, 0x10) : QColor(0x40, 0x40, 0x40));
    p.fillRect(rect.adjusted(0, 0, -1, -1), QColor(0xfd, 0xfd, 0xfd));
    p.fillRect(rect.adjusted(1, 1, -1, -1), QColor(0x80, 0x80, 0x80));
    p.fillRect(rect.adjusted(1, 1, -2, -2), QColor(0xd4, 0xd0, 0xc8));
}

void tick(QPainter& p, double x, double y)
{
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1.1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF(
        { QPointF(x + 1, y + 2.5), QPointF(x + 2.2, y + 3.8), QPointF(x + 4.2, y + 1.2) }));
}

void paintDialog(QPainter& p)
{
    const QRectF outer(1, 3, 48, 44);
    p.fillRect(outer.translated(1, 1), QColor(0, 0, 0, 40));
    p.fillRect(outer, QColor(0x40, 0x40, 0x40));
    p.fillRect(outer.adjusted(0, 0, -1, -1), QColor(0xd4, 0xd0, 0xc8));
    p.fillRect(outer.adjusted(1, 1, -1, -1), QColor(0xfd, 0xfd, 0xfd));
    p.fillRect(outer.adjusted(1, 1, -2, -2), QColor(0x80, 0x80, 0x80));
    p.fillRect(outer.adjusted(2, 2, -2, -2), QColor(0xd4, 0xd0, 0xc8));
    const QRectF caption(3, 5, 44, 7);
    QLinearGradient title(caption.topLeft(), caption.topRight());
    title.setColorAt(0, QColor(0x0a, 0x24, 0x6a));
    title.setColorAt(1, QColor(0xa6, 0xca, 0xf0));
    p.fillRect(caption, title);
    p.fillRect(QRectF(5, 7.5, 10, 1.6), QColor(0xfd, 0xfd, 0xfd));
    raised(p, QRectF(40.5, 6, 5.5, 5), false);
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 0.9));
    p.drawLine(QPointF(41.8, 7.2), QPointF(44.2, 9.6));
    p.drawLine(QPointF(44.2, 7.2), QPointF(41.8, 9.6));

    const QColor label(0x30, 0x30, 0x30);
    for (int row = 0; row < 2; ++row) {
        const double y = 15 + row * 7;
        p.fillRect(QRectF(5, y + 2, 8, 1.2), label);
        sunken(p, QRectF(16, y, 29, 5.5), QColor(0xfd, 0xfd, 0xfd));
        p.fillRect(QRectF(18, y + 2, 6 + row * 5, 1.2), QColor(0x50, 0x50, 0x60));
    }
    for (int column = 0; column < 3; ++column) {
        const double x = 5 + column * 14;
        sunken(p, QRectF(x, 29, 5.5, 5.5), QColor(0xfd, 0xfd, 0xfd));
        if (column != 1)
            tick(p, x + 0.2, 29.2);
        p.fillRect(QRectF(x + 7, 31.2, 5, 1.2), label);
    }
    for (int column = 0; column < 3; ++column) {
        const QRectF button(5 + column * 14, 38, 12, 6);
        raised(p, button, column == 0);
        p.fillRect(QRectF(button.left() + 3.5, button.top() + 2.5, 5, 1.1), label);
    }
}

QImage paintedPicture(void (*paint)(QPainter&))
{
    QImage image = whiteBoard(50);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return image;
}

QImage teeWithShadow(bool serif, int shadowX, int shadowY)
{
    const Grid serifTee = {
        "kkkkkkkkkkk",
        "kkkkkkkkkkk",
        "kk..kkk..kk",
        "k...kkk...k",
        "....kkk....",
        "....kkk....",
        "....kkk....",
        "....kkk....",
        "....kkk....",
        "....kkk....",
        "...kkkkk...",
        "..kkkkkkk..",
    };
    const Grid plainTee = {
        "kkkkkkkkkkkk",
        "kkkkkkkkkkkk",
        "....kkkk....",
        "....kkkk....",
        "....kkkk....",
        "....kkkk....",
        "....kkkk....",
        "....kkkk....",
        "....kkkk....",
        "....kkkk....",
        "....kkkk....",
        "....kkkk....",
    };
    const Grid& tee = serif ? serifTee : plainTee;
    QImage image = whiteBoard(16);
    const int left = shadowX < 0 ? 3 : 1;
    stamp(image, left + shadowX, 1 + shadowY, tee, { { 'k', 0xffa0a0a0 } });
    stamp(image, left, 1, tee, { { 'k', 0xff101010 } });
    return image;
}

QImage gems()
{
    const Grid gem = {
        "..kkkk..",
        ".kLLLck.",
        "kLccccDk",
        "kcccDDDk",
        ".kccDDk.",
        "..kcDk..",
        "...kk...",
    };
    const auto ink = [](QRgb line, QRgb light, QRgb colour, QRgb dark) {
        return Palette { { 'k', line }, { 'L', light }, { 'c', colour }, { 'D', dark } };
    };
    QImage image = whiteBoard(16);
    stamp(image, 0, 1, gem, ink(0xff801010, 0xffff9a8a, 0xffe02828, 0xffa01414));
    stamp(image, 8, 1, gem, ink(0xff102a80, 0xff9abeff, 0xff2858e0, 0xff14309c));
    stamp(image, 4, 8, gem, ink(0xff0c6020, 0xff9af0a8, 0xff20b040, 0xff12802a));
    return image;
}

QImage taskBarPiece()
{
    QImage image = whiteBoard(16);
    const QRgb blue[] = { 0xff7aaaf2, 0xff3a78e0, 0xff2f6cd8, 0xff2a64d0, 0xff265ec8, 0xff2258c2,
        0xff1e52ba, 0xff1a4aa8 };
    const QRgb green[] = { 0xff9ae08a, 0xff5cbc50, 0xff4cae44, 0xff44a43e, 0xff3c9a38, 0xff349032,
        0xff2c862c, 0xff1e6a20 };
    const int inset[] = { 2, 1, 0, 0, 0, 0, 1, 2 };
    for (int row = 0; row < 8; ++row) {
        fill(image, 0, 4 + row, 16, 1, blue[row]);
        fill(image, 0, 4 + row, 11 - inset[row], 1, green[row]);
    }
    fill(image, 2, 6, 2, 2, 0xfff25022);
    fill(image, 4, 6, 2, 2, 0xff9ae020);
    fill(image, 2, 8, 2, 2, 0xff20a4ef);
    fill(image, 4, 8, 2, 2, 0xffffc010);
    fill(image, 7, 7, 2, 2, 0xffe8f8e8);
    return image;
}

QImage cubes(bool three)
{
    const Palette ink
        = { { 'k', 0xff55555c }, { 'w', 0xfff6f6f8 }, { 'g', 0xffcfcfd6 }, { 'G', 0xff94949e } };
    QImage image = whiteBoard(16);
    if (!three) {
        stamp(image, 0, 0,
            {
                "................",
                ".......kk.......",
                ".....kkwwkk.....",
                "...kkwwwwwwkk...",
                ".kkwwwwwwwwwwkk.",
                ".kggwwwwwwwwGGk.",
                ".kggggwwwwGGGGk.",
                ".kggggggGGGGGGk.",
                ".kggggggGGGGGGk.",
                ".kggggggGGGGGGk.",
                ".kggggggGGGGGGk.",
                ".kggggggGGGGGGk.",
                ".kkgggggGGGGGkk.",
                "...kkgggGGGkk...",
                ".....kkgGkk.....",
                ".......kk.......",
            },
            ink);
        return image;
    }
    const Grid small = {
        "...kk...",
        ".kkwwkk.",
        "kwwwwwwk",
        "kggwwGGk",
        "kgggGGGk",
        "kgggGGGk",
        "kgggGGGk",
        ".kkgGkk.",
        "...kk...",
    };
    stamp(image, 4, 0, small, ink);
    stamp(image, 0, 7, small, ink);
    stamp(image, 8, 7, small, ink);
    return image;
}

QImage paletteIcon()
{
    QImage image = whiteBoard(16);
    stamp(image, 8, 0, { "kkkkkkkk", "klllllsk", "klgllllk", "kgggllgk", "kggggggk", "kkkkkkkk" },
        { { 'k', 0xff505050 }, { 'l', 0xff9cc8f4 }, { 's', 0xfff8d030 }, { 'g', 0xff48a838 } });
    stamp(image, 0, 6,
        {
            "...ooooo...",
            ".oopppppoo.",
            "oprrppyyppo",
            "oprrppyyppo",
            "opppppppbbo",
            "onnppoopbbo",
            "onnpo..oppo",
            ".oppo..opo.",
            "..oppoopo..",
            "...ooooo...",
        },
        { { 'o', 0xff8a5a2a }, { 'p', 0xffe8c48a }, { 'r', 0xffe02020 }, { 'y', 0xfff8d820 },
            { 'b', 0xff2060e0 }, { 'n', 0xff30a830 } });
    stamp(image, 9, 9,
        {
            ".......",
            ".xx....",
            ".xxm...",
            "..mmh..",
            "....hh.",
            ".....hh",
            "......h",
        },
        { { 'x', 0xff202020 }, { 'm', 0xffb0b4bc }, { 'h', 0xffb03a1a } });
    return image;
}

QImage captionButtonIcon(Glyph glyph, bool red)
{
    const QRgb rim = red ? 0xff8a1c0c : 0xff1c4a96;
    const QRgb top = red ? 0xfff2927a : 0xff94bcf4;
    const QRgb bottom = red ? 0xffc4321a : 0xff3a6ec2;
    QImage image = whiteBoard(16);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 15; ++x) {
            const int fromX = std::min(x, 14 - x);
            const int fromY = std::min(y, 14 - y);
            if (fromX == 0 && fromY == 0)
                continue;
            QRgb colour = mix(top, bottom, y / 14.0);
            if (fromX + fromY == 1)
                colour = mix(rim, kWhite, 0.5);
            else if (fromX == 0 || fromY == 0 || (fromX == 1 && fromY == 1))
                colour = rim;
            else if (y == 1 || x == 1)
                colour = mix(colour, kWhite, 0.45);
            image.setPixel(x, y, colour);
        }
    }
    stamp(image, 2, 2, glyphShape(glyph), { { '#', mix(bottom, 0xff000000, 0.3) } });
    stamp(image, 1, 1, glyphShape(glyph), { { '#', 0xfffafafa } });
    fill(image, 1, 15, 14, 1, 0xffe0e0e4);
    fill(image, 15, 1, 1, 14, 0xffe0e0e4);
    return image;
}

enum class Part { Caption, TopLeft, TopRight, Bottom, BottomLeft, BottomRight, Left, Right };

// The frame pieces of a style, picked out one at a time on a plain window outline.
QImage framePart(Part part)
{
    constexpr QRgb line = 0xff606068;
    constexpr QRgb frame = 0xffdcdce2;
    constexpr QRgb lit = 0xff3a78e0;
    QImage image = whiteBoard(16);
    fill(image, 1, 1, 14, 14, line);
    fill(image, 2, 2, 12, 12, frame);
    fill(image, 2, 6, 12, 1, line);
    fill(image, 4, 6, 8, 6, line);
    fill(image, 5, 7, 6, 4, 0xfffdfdfd);
    const auto light
        = [&image](int x, int y, int width, int height) { fill(image, x, y, width, height, lit); };
    switch (part) {
    case Part::Caption:
        light(2, 2, 12, 4);
        break;
    case Part::TopLeft:
        light(2, 2, 3, 4);
        break;
    case Part::TopRight:
        light(11, 2, 3, 4);
        break;
    case Part::Bottom:
        light(4, 12, 8, 2);
        break;
    case Part::BottomLeft:
        light(2, 12, 2, 2);
        break;
    case Part::BottomRight:
        light(12, 12, 2, 2);
        break;
    case Part::Left:
        light(2, 7, 2, 5);
        break;
    case Part::Right:
        light(12, 7, 2, 5);
        break;
    }
    return image;
}

QImage blackDot()
{
    QImage image = whiteBoard(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x08, 0x08, 0x08));
    p.drawEllipse(QRectF(2, 2, 12, 12));
    return image;
}

} // namespace

void drawWindowIcon(const Output& out)
{
    out.saveOpaque(QStringLiteral("resources/design/windowicon.png"), smallWindow(kMagenta));
}

void drawAppIcons(const Output& out)
{
    out.saveOpaque(QStringLiteral("resources/appicon.png"), appIcon16());
    out.saveWithAlpha(QStringLiteral("resources/appicon-48.png"), paintedIcon(48, &paintAppIcon));
    out.saveWithAlpha(QStringLiteral("resources/appicon-128.png"), paintedIcon(128, &paintAppIcon));
}

void drawToolBar(const Output& out)
{
    out.saveOpaque(
        QStringLiteral("resources/toolbar/new.png"), gridPicture(16, kMagenta, kSheet, kSheetInk));
    out.saveOpaque(QStringLiteral("resources/toolbar/open.png"),
        gridPicture(16, kMagenta, kOpenFolder, kFolderInk));
    out.saveOpaque(QStringLiteral("resources/toolbar/save.png"), floppy(18, kMagenta));
}

void drawImageLists(const Output& out)
{
    void (*const large[])(QPainter&) = { &paintDesktopWindow, &paintTaskBar, &paintExplorer,
        &paintPalette, &paintLetters, &paintDialog };
    for (int i = 0; i < 6; ++i)
        out.saveOpaque(
            QStringLiteral("resources/imagelist1/%1.png").arg(i), paintedPicture(large[i]));

    out.saveOpaque(
        QStringLiteral("resources/imagelist2/0.png"), gridPicture(16, kWhite, kSheet, kSheetInk));
    out.saveOpaque(QStringLiteral("resources/imagelist2/1.png"),
        gridPicture(16, kWhite, kOpenFolder, kFolderInk));
    out.saveOpaque(QStringLiteral("resources/imagelist2/2.png"), floppy(16, kWhite));

    const QImage small[] = {
        gridPicture(16, kWhite, kClosedFolder, kFolderInk),
        teeWithShadow(true, 2, 2),
        gems(),
        taskBarPiece(),
        cubes(true),
        smallWindow(kWhite),
        paletteIcon(),
        captionButtonIcon(Glyph::Maximize, false),
        captionButtonIcon(Glyph::Minimize, false),
        cubes(false),
        captionButtonIcon(Glyph::Close, true),
        teeWithShadow(false, -2, 2),
        framePart(Part::Caption),
        framePart(Part::TopLeft),
        framePart(Part::TopRight),
        blackDot(),
        captionButtonIcon(Glyph::Restore, false),
        framePart(Part::Bottom),
        framePart(Part::BottomLeft),
        framePart(Part::BottomRight),
        framePart(Part::Left),
        framePart(Part::Right),
    };
    for (int i = 0; i < int(std::size(small)); ++i)
        out.saveOpaque(QStringLiteral("resources/imagelist3/%1.png").arg(i), small[i]);
}

} // namespace art
