// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PanelRender.h"

#include "controls/AppError.h"
#include "preview/PreviewPanel.h"

#include <QPainter>

namespace {

QByteArray styleDirOf(QByteArray dir)
{
    while (dir.endsWith('/'))
        dir.chop(1);
    return dir + '/';
}

QImage comparable(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_ARGB32);
}

bool differs(const QImage& a, const QImage& b, int x, int y)
{
    const bool inA = x < a.width() && y < a.height();
    const bool inB = x < b.width() && y < b.height();
    if (inA != inB)
        return true;
    return inA && a.pixel(x, y) != b.pixel(x, y);
}

template<typename Visit>
void forEachDifference(const QImage& picture, const QImage& reference, Visit visit)
{
    const QImage a = comparable(picture);
    const QImage b = comparable(reference);
    const int width = std::max(a.width(), b.width());
    const int height = std::max(a.height(), b.height());
    for (int y = 0; y < height; ++y) {
        // Rows both cover and agree on are the common case: compare them whole.
        if (y < a.height() && y < b.height() && a.width() == b.width()
            && std::equal(reinterpret_cast<const QRgb*>(a.constScanLine(y)),
                reinterpret_cast<const QRgb*>(a.constScanLine(y)) + a.width(),
                reinterpret_cast<const QRgb*>(b.constScanLine(y))))
            continue;
        for (int x = 0; x < width; ++x)
            if (differs(a, b, x, y))
                visit(x, y);
    }
}

} // namespace

PanelRender renderPanel(const QByteArray& dir, LiveMinimizeButton::Look look)
{
    PanelRender render;
    PreviewPanel panel;
    panel.resize(PreviewPanel::kSizeInWindow);
    try {
        panel.loadStyle(styleDirOf(dir));
        LiveMinimizeButton& button = panel.minimizeButton();
        if (look == LiveMinimizeButton::Look::Over)
            button.hover();
        else if (look == LiveMinimizeButton::Look::Press)
            button.show(look);
    } catch (const AppError& error) {
        render.failure = error.message();
    } catch (const std::exception& error) {
        render.failure = QString::fromLocal8Bit(error.what());
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
    QImage marked(size, QImage::Format_RGB32);
    marked.fill(Qt::white);
    {
        QPainter painter(&marked);
        painter.setOpacity(0.25);
        painter.drawImage(0, 0, picture.convertToFormat(QImage::Format_Grayscale8));
    }
    forEachDifference(
        picture, reference, [&](int x, int y) { marked.setPixel(x, y, qRgb(255, 0, 0)); });
    return marked;
}
