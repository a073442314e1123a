// SPDX-License-Identifier: GPL-3.0-or-later
#include "review/PanelRender.h"

#include "preview/PreviewPanel.h"
#include "style/ErrorText.h"
#include "style/StyleFiles.h"

#include <QColorSpace>
#include <QHash>
#include <QPainter>

namespace {

QImage comparable(const QImage& picture)
{
    // An RGB32 pixel is already the opaque ARGB32 one (0xffRRGGBB): no copy for the render.
    if (picture.format() == QImage::Format_RGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_ARGB32);
}

template<typename Visit>
void forEachDifference(const QImage& picture, const QImage& reference, Visit visit)
{
    const QImage a = comparable(picture);
    const QImage b = comparable(reference);
    const int width = std::max(a.width(), b.width());
    const int height = std::max(a.height(), b.height());
    for (int y = 0; y < height; ++y) {
        // A pixel only one picture covers differs; scan lines, not pixel(), since a diff of two
        // styles visits most of the panel.
        const auto* lineA
            = y < a.height() ? reinterpret_cast<const QRgb*>(a.constScanLine(y)) : nullptr;
        const auto* lineB
            = y < b.height() ? reinterpret_cast<const QRgb*>(b.constScanLine(y)) : nullptr;
        const int widthA = lineA ? a.width() : 0;
        const int widthB = lineB ? b.width() : 0;
        // Rows both cover and agree on are the common case: compare them whole.
        if (widthA == width && widthB == width && std::equal(lineA, lineA + width, lineB))
            continue;
        for (int x = 0; x < width; ++x) {
            const bool inA = x < widthA;
            const bool inB = x < widthB;
            if (inA != inB || (inA && lineA[x] != lineB[x]))
                visit(x, y);
        }
    }
}

// The picture's grey at a quarter over white, as Qt draws it.
QImage fadedByQt(const QImage& picture, QSize size)
{
    QImage faded(size, QImage::Format_RGB32);
    faded.fill(Qt::white);
    QPainter painter(&faded);
    painter.setOpacity(0.25);
    painter.drawImage(0, 0, picture.convertToFormat(QImage::Format_Grayscale8));
    return faded;
}

// Qt's grey conversion runs a colour transform for every pixel, which cost a diff more than both
// its renders. A pixel's fade depends on its colour alone and a panel has few colours, so Qt
// fades each colour once and a line looks its fade up only where its colour changes. For the
// formats whose pixels are QRgb words, as every render's are.
void fadeInto(QImage& marked, const QImage& picture)
{
    const auto line
        = [&](int y) { return reinterpret_cast<const QRgb*>(picture.constScanLine(y)); };
    QHash<QRgb, int> index;
    QList<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y) {
        const QRgb* pixels = line(y);
        for (int x = 0; x < picture.width(); ++x)
            if ((x == 0 || pixels[x] != pixels[x - 1]) && !index.contains(pixels[x])) {
                index.insert(pixels[x], int(colours.size()));
                colours.append(pixels[x]);
            }
    }
    if (colours.isEmpty())
        return;
    QImage palette(int(colours.size()), 1, picture.format());
    palette.setColorSpace(picture.colorSpace());
    std::copy(colours.cbegin(), colours.cend(), reinterpret_cast<QRgb*>(palette.scanLine(0)));
    const QImage faded = fadedByQt(palette, palette.size());

    const auto* fades = reinterpret_cast<const QRgb*>(faded.constScanLine(0));
    for (int y = 0; y < picture.height(); ++y) {
        const QRgb* pixels = line(y);
        auto* out = reinterpret_cast<QRgb*>(marked.scanLine(y));
        QRgb fade = 0;
        for (int x = 0; x < picture.width(); ++x) {
            if (x == 0 || pixels[x] != pixels[x - 1])
                fade = fades[index.value(pixels[x])];
            out[x] = fade;
        }
    }
}

} // namespace

PanelRender renderPanel(const QByteArray& dir, StyleFile::State look, QSize windowSize)
{
    PanelRender render;
    PreviewPanel panel;
    if (windowSize.isValid())
        panel.setSampleWindowSize(windowSize);
    else
        panel.resize(PreviewPanel::kSizeInWindow);
    try {
        panel.loadStyle(joinStylePath(dir));
        LiveMinimizeButton& button = panel.minimizeButton();
        if (look == StyleFile::State::Over)
            button.hover();
        else if (look == StyleFile::State::Press)
            button.show(look);
    } catch (const std::exception& error) {
        render.failure = ErrorText::messageOf(error);
    }
    render.picture = panel.grab().toImage();
    render.captionFont = panel.Label3->font();
    return render;
}

PictureDifference comparePictures(const QImage& picture, const QImage& reference)
{
    PictureDifference difference;
    forEachDifference(picture, reference, [&](int x, int y) {
        ++difference.pixels;
        difference.bounds |= QRect(x, y, 1, 1);
    });
    return difference;
}

QImage markDifferences(const QImage& picture, const QImage& reference)
{
    const QSize size = picture.size().expandedTo(reference.size());
    QImage marked;
    const QImage::Format format = picture.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied) {
        marked = QImage(size, QImage::Format_RGB32);
        // The fade writes every pixel the picture covers.
        if (size != picture.size())
            marked.fill(Qt::white);
        fadeInto(marked, picture);
    } else {
        marked = fadedByQt(picture, size);
    }
    forEachDifference(
        picture, reference, [&](int x, int y) { marked.setPixel(x, y, qRgb(255, 0, 0)); });
    return marked;
}
