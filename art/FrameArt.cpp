// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameArt.h"

#include <array>
#include <stdexcept>

namespace art {

namespace {

constexpr int kCaptionHeight = 29;
constexpr int kCornerWidth = 12;
constexpr int kCaptionMiddleWidth = 16;
constexpr int kSideWidth = 5;
constexpr int kSideHeight = 31;
constexpr int kBottomWidth = 15;
constexpr int kBottomHeight = 8;
constexpr int kFaceWidth = 19;
constexpr int kFaceHeight = 18;
constexpr int kGlyphSize = 13;

// Pixels cut away per row at the rounded caption corner, counted from the outer edge. The masks
// and the corner pictures both read it, so their roundings cannot drift apart.
constexpr int kCornerInset[] = { 5, 3, 2, 1, 1 };
constexpr int kInsetRows = int(sizeof(kCornerInset) / sizeof(kCornerInset[0]));

enum class Piece { Left, Middle, Right };

bool outsideCaption(Piece piece, int width, int x, int y)
{
    if (y < 0)
        return true;
    if ((piece == Piece::Left && x < 0) || (piece == Piece::Right && x >= width))
        return true;
    if (piece == Piece::Middle || y >= kInsetRows)
        return false;
    const int fromEdge = piece == Piece::Left ? x : width - 1 - x;
    return fromEdge < kCornerInset[y];
}

struct CaptionLook
{
    QRgb edge;
    QRgb light;
    QGradientStops body;
    QRgb bottom;
};

QImage captionPiece(const CaptionLook& look, Piece piece, int width)
{
    QImage image(width, kCaptionHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const auto outside = [&](int x, int y) { return outsideCaption(piece, width, x, y); };
    const auto onEdge = [&](int x, int y) {
        return !outside(x, y)
            && (outside(x - 1, y) || outside(x + 1, y) || outside(x, y - 1) || outside(x, y + 1));
    };
    for (int y = 0; y < kCaptionHeight; ++y) {
        for (int x = 0; x < width; ++x) {
            if (outside(x, y))
                continue;
            QRgb colour = gradientAt(look.body, y / double(kCaptionHeight - 1));
            bool nearEdge = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx)
                    nearEdge = nearEdge || onEdge(x + dx, y + dy);
            }
            if (onEdge(x, y))
                colour = look.edge;
            else if (y == kCaptionHeight - 1)
                colour = look.bottom;
            else if (nearEdge)
                colour = look.light;
            image.setPixel(x, y, colour);
        }
    }
    // The left corner is shown keyed on its bottom-left pixel; white there keys out exactly the
    // mask's white outside the rounding, since no other pixel of the corner is pure white.
    if (piece == Piece::Left)
        image.setPixel(0, kCaptionHeight - 1, kWhite);
    return image;
}

QImage opaqueOnBlack(const QImage& image)
{
    QImage result = canvas(image.width(), image.height(), kBlack);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 255)
                result.setPixel(x, y, image.pixel(x, y));
        }
    }
    return result;
}

QImage cornerMask(Piece piece)
{
    QImage image = canvas(kCornerWidth, kCaptionHeight, kBlack);
    for (int y = 0; y < kInsetRows; ++y) {
        for (int x = 0; x < kCornerWidth; ++x) {
            if (outsideCaption(piece, kCornerWidth, x, y))
                image.setPixel(x, y, kWhite);
        }
    }
    return image;
}

// side runs from the outer column to the one against the window body; bottom from the row
// against the body to the outer row.
struct FrameLook
{
    std::array<QRgb, kSideWidth> side;
    std::array<QRgb, kBottomHeight> bottom;
};

QImage sideStrip(const FrameLook& look)
{
    QImage image = canvas(kSideWidth, kSideHeight, kBlack);
    for (int x = 0; x < kSideWidth; ++x)
        fill(image, x, 0, 1, kSideHeight, look.side[size_t(x)]);
    return image;
}

QImage bottomStrip(const FrameLook& look)
{
    QImage image = canvas(kBottomWidth, kBottomHeight, kBlack);
    for (int y = 0; y < kBottomHeight; ++y)
        fill(image, 0, y, kBottomWidth, 1, look.bottom[size_t(y)]);
    return image;
}

// Mitred: each pixel takes the shading of the strip whose outer edge is nearer, so the side
// strip's columns turn the corner into the bottom strip's rows.
QImage bottomCorner(const FrameLook& look, bool left)
{
    QImage image = canvas(kSideWidth, kBottomHeight, kBlack);
    for (int y = 0; y < kBottomHeight; ++y) {
        for (int x = 0; x < kSideWidth; ++x) {
            const double fromSide = (left ? x : kSideWidth - 1 - x) / double(kSideWidth - 1);
            const double fromBottom = (kBottomHeight - 1 - y) / double(kBottomHeight - 1);
            image.setPixel(
                x, y, fromSide <= fromBottom ? look.side[size_t(x)] : look.bottom[size_t(y)]);
        }
    }
    return image;
}

struct FaceLook
{
    QRgb behind;
    QRgb rim;
    QRgb bevelLight;
    QRgb bevelDark;
    QRgb top;
    QRgb bottom;
};

QRgb notWhite(QRgb colour)
{
    return (colour & 0xffffff) == 0xffffff ? 0xfffefefe : colour;
}

QImage buttonFace(const FaceLook& look)
{
    const int right = kFaceWidth - 1;
    const int low = kFaceHeight - 1;
    QImage image = canvas(kFaceWidth, kFaceHeight, kWhite);
    for (int y = 0; y < kFaceHeight; ++y) {
        for (int x = 0; x < kFaceWidth; ++x) {
            const int fromX = std::min(x, right - x);
            const int fromY = std::min(y, low - y);
            QRgb colour;
            if (fromX == 0 && fromY == 0)
                continue;
            if (fromX + fromY == 1)
                colour = mix(look.rim, look.behind, 0.45);
            else if (fromX == 0 || fromY == 0 || (fromX == 1 && fromY == 1))
                colour = look.rim;
            else if (y == 1 || (x == 1 && y < low - 1))
                colour = look.bevelLight;
            else if (y == low - 1 || x == right - 1)
                colour = look.bevelDark;
            else
                colour = mix(look.top, look.bottom, (y - 2) / double(kFaceHeight - 5));
            image.setPixel(x, y, notWhite(colour));
        }
    }
    return image;
}

struct GlyphInk
{
    QRgb main;
    QRgb shadow;
    bool shadowed;
    int shift;
};

QImage glyphPicture(Glyph glyph, const GlyphInk& ink)
{
    if ((ink.main & 0xffffff) == 0xffffff || (ink.shadowed && (ink.shadow & 0xffffff) == 0xffffff))
        throw std::runtime_error("a glyph ink would vanish under the white colour key");
    QImage image = canvas(kGlyphSize, kGlyphSize, kWhite);
    const Grid& shape = glyphShape(glyph);
    if (ink.shadowed)
        stamp(image, 1 + ink.shift, 1 + ink.shift, shape, { { '#', ink.shadow } });
    stamp(image, ink.shift, ink.shift, shape, { { '#', ink.main } });
    return image;
}

void saveFrame(const Output& out, const QString& folder, const QString& state,
    const CaptionLook& caption, const FrameLook& frame)
{
    const QString prefix = folder + QLatin1Char('/');
    const QString suffix = QLatin1Char('_') + state + QStringLiteral(".png");
    out.saveWithAlpha(prefix + QStringLiteral("captionbar_left") + suffix,
        captionPiece(caption, Piece::Left, kCornerWidth));
    out.saveWithAlpha(prefix + QStringLiteral("captionbar_right") + suffix,
        captionPiece(caption, Piece::Right, kCornerWidth));
    out.saveOpaque(prefix + QStringLiteral("captionbar") + suffix,
        captionPiece(caption, Piece::Middle, kCaptionMiddleWidth));
    out.saveOpaque(prefix + QStringLiteral("frameleft") + suffix, sideStrip(frame));
    out.saveOpaque(prefix + QStringLiteral("framebottom") + suffix, bottomStrip(frame));
    out.saveOpaque(prefix + QStringLiteral("framebottom_left") + suffix, bottomCorner(frame, true));
    out.saveOpaque(
        prefix + QStringLiteral("framebottom_right") + suffix, bottomCorner(frame, false));
}

struct StyleLook
{
    const char* name;
    CaptionLook activeCaption;
    CaptionLook inactiveCaption;
    FrameLook activeFrame;
    FrameLook inactiveFrame;
    FaceLook normalFace;
    FaceLook overFace;
    FaceLook pressFace;
    GlyphInk normalInk;
    GlyphInk disableInk;
    GlyphInk overInk;
    GlyphInk pressInk;
};

QGradientStops stops(std::initializer_list<std::pair<double, QRgb>> points)
{
    QGradientStops result;
    for (const auto& [position, colour] : points)
        result.append({ position, QColor::fromRgb(colour) });
    return result;
}

StyleLook luna()
{
    return {
        "Luna",
        { 0xff1d4c9c, 0xff9cc2f4,
            stops({ { 0.0, 0xff8ab6f2 }, { 0.12, 0xff6a9fe6 }, { 0.45, 0xff4f88d6 },
                { 0.78, 0xff548cda }, { 0.93, 0xff4279c8 }, { 1.0, 0xff3465b2 } }),
            0xff2c5aa6 },
        // Deep enough for the light grey inactive caption text to read.
        { 0xff5a72a4, 0xffc0d0ee,
            stops({ { 0.0, 0xffa6bce6 }, { 0.15, 0xff8fa8da }, { 0.5, 0xff7a96cc },
                { 0.8, 0xff7d98ce }, { 1.0, 0xff6a84ba } }),
            0xff627aae },
        { { 0xff1d4c9c, 0xff7da9e8, 0xff4f88d6, 0xff6396dd, 0xff2e5fae },
            { 0xff2e5fae, 0xff6396dd, 0xff4f88d6, 0xff4f88d6, 0xff4c85d3, 0xff4881cf, 0xff7da9e8,
                0xff1d4c9c } },
        { { 0xff7088b8, 0xffc8d7f1, 0xff9db6e2, 0xffabc1e7, 0xff8098c6 },
            { 0xff8098c6, 0xffabc1e7, 0xff9db6e2, 0xff9db6e2, 0xff9ab3e0, 0xff97b0de, 0xffc8d7f1,
                0xff7088b8 } },
        { 0xff4f88d6, 0xff24519e, 0xffb4d0f6, 0xff3a6dbc, 0xff86b3f0, 0xff4a80d0 },
        { 0xff5a92de, 0xff2a5cae, 0xffd2e4fb, 0xff4a80cc, 0xffa6caf8, 0xff5c93e0 },
        { 0xff4f88d6, 0xff1b4284, 0xff284f94, 0xff6c9ade, 0xff33609e, 0xff4f7fca },
        { 0xfff4f8fe, 0xff2c5ba6, true, 0 },
        { 0xff9ebde9, 0, false, 0 },
        { 0xfffefefe, 0xff3566b6, true, 0 },
        { 0xffd4e2f6, 0xff1e4686, true, 1 },
    };
}

StyleLook silver()
{
    return {
        "Silver",
        // The caption text is white when focused and light grey when not: the bars are mid
        // silver so that both read.
        { 0xff50536a, 0xffd8dae4,
            stops({ { 0.0, 0xffb8bbcc }, { 0.15, 0xffa2a6bc }, { 0.5, 0xff8a8fa8 },
                { 0.82, 0xff7c8199 }, { 1.0, 0xff6c7088 } }),
            0xff5e6178 },
        { 0xff8a8c9c, 0xffdcdde4,
            stops({ { 0.0, 0xffb4b6c2 }, { 0.5, 0xff9c9eac }, { 1.0, 0xff8e909e } }), 0xff8e909e },
        { { 0xff7c7e96, 0xfff0f0f5, 0xffcdced9, 0xffdcdde6, 0xff9c9db0 },
            { 0xff9c9db0, 0xffdcdde6, 0xffcdced9, 0xffcdced9, 0xffc9cad6, 0xffc4c5d1, 0xffeeeef3,
                0xff7c7e96 } },
        { { 0xffa9abbb, 0xfff6f6f9, 0xffe4e5eb, 0xffececf1, 0xffbebfcb },
            { 0xffbebfcb, 0xffececf1, 0xffe4e5eb, 0xffe4e5eb, 0xffe2e3e9, 0xffdfe0e7, 0xfff6f6f9,
                0xffa9abbb } },
        { 0xffd4d5df, 0xff85879c, 0xfffcfcfd, 0xffbdbfcc, 0xfff4f4f8, 0xffd3d4de },
        { 0xffd4d5df, 0xff6a77a6, 0xfffdfdfe, 0xffc8ccdc, 0xfffcfcfe, 0xffe2e5f0 },
        { 0xffd4d5df, 0xff65677c, 0xffa2a4b4, 0xffe8e9ee, 0xffbfc1cd, 0xffd9dae2 },
        { 0xff373948, 0xfff4f4f7, true, 0 },
        { 0xffa9abba, 0, false, 0 },
        { 0xff141624, 0xfffbfbfc, true, 0 },
        { 0xff262836, 0xffe6e7ec, true, 1 },
    };
}

StyleLook licorice()
{
    return {
        "Licorice",
        { 0xff050505, 0xff4a4846,
            stops({ { 0.0, 0xff403e3c }, { 0.2, 0xff2b2a29 }, { 0.6, 0xff1d1c1c },
                { 1.0, 0xff121212 } }),
            0xffe08a1c },
        { 0xff111111, 0xff55534f,
            stops({ { 0.0, 0xff4a4846 }, { 0.3, 0xff3a3937 }, { 1.0, 0xff2c2b2a } }), 0xff6a5238 },
        { { 0xff050505, 0xff2e2d2c, 0xffb8701a, 0xff2e2d2c, 0xff050505 },
            { 0xff050505, 0xff2e2d2c, 0xff1c1b1b, 0xff1c1b1b, 0xffb8701a, 0xff1c1b1b, 0xff2e2d2c,
                0xff050505 } },
        { { 0xff111111, 0xff3c3b39, 0xff54442f, 0xff3c3b39, 0xff111111 },
            { 0xff111111, 0xff3c3b39, 0xff2c2b2a, 0xff2c2b2a, 0xff54442f, 0xff2c2b2a, 0xff3c3b39,
                0xff111111 } },
        { 0xff1d1c1c, 0xff030303, 0xff5a5652, 0xff161616, 0xff3c3a38, 0xff222121 },
        { 0xff1d1c1c, 0xffd08a2a, 0xff6e6862, 0xff1e1d1c, 0xff4c4946, 0xff2c2b2a },
        { 0xff1d1c1c, 0xff000000, 0xff0a0a0a, 0xff3a3836, 0xff121212, 0xff242322 },
        { 0xffe89a2c, 0xff080808, true, 0 },
        { 0xff5a5046, 0, false, 0 },
        { 0xffffc45c, 0xff1a1208, true, 0 },
        { 0xffb87418, 0xff050505, true, 1 },
    };
}

void saveStyle(const Output& out, const StyleLook& look)
{
    const QString folder = QStringLiteral("styles/%1/Frame").arg(QLatin1String(look.name));
    out.saveMono(folder + QStringLiteral("/frame_mask_left.bmp"), cornerMask(Piece::Left));
    out.saveMono(folder + QStringLiteral("/frame_mask_right.bmp"), cornerMask(Piece::Right));
    saveFrame(out, folder, QStringLiteral("active"), look.activeCaption, look.activeFrame);
    saveFrame(out, folder, QStringLiteral("inactive"), look.inactiveCaption, look.inactiveFrame);

    out.saveOpaque(
        folder + QStringLiteral("/captionbutton_normal.png"), buttonFace(look.normalFace));
    out.saveOpaque(folder + QStringLiteral("/captionbutton_over.png"), buttonFace(look.overFace));
    out.saveOpaque(folder + QStringLiteral("/captionbutton_press.png"), buttonFace(look.pressFace));

    const std::pair<Glyph, const char*> glyphs[]
        = { { Glyph::Close, "close" }, { Glyph::Maximize, "maximize" },
              { Glyph::Minimize, "minimize" }, { Glyph::Restore, "restore" } };
    const std::pair<const GlyphInk*, const char*> inks[] = { { &look.normalInk, "normal" },
        { &look.disableInk, "disable" }, { &look.overInk, "over" }, { &look.pressInk, "press" } };
    for (const auto& [glyph, glyphName] : glyphs) {
        for (const auto& [ink, state] : inks) {
            out.saveOpaque(QStringLiteral("%1/%2_active_%3.png")
                               .arg(folder, QLatin1String(glyphName), QLatin1String(state)),
                glyphPicture(glyph, *ink));
        }
    }
}

} // namespace

const Grid& glyphShape(Glyph glyph)
{
    static const Grid close = {
        ".............",
        ".............",
        "..##.....##..",
        "..###...###..",
        "...###.###...",
        "....#####....",
        ".....###.....",
        "....#####....",
        "...###.###...",
        "..###...###..",
        "..##.....##..",
        ".............",
        ".............",
    };
    static const Grid maximize = {
        ".............",
        ".............",
        "..#########..",
        "..#########..",
        "..#.......#..",
        "..#.......#..",
        "..#.......#..",
        "..#.......#..",
        "..#.......#..",
        "..#.......#..",
        "..#########..",
        ".............",
        ".............",
    };
    static const Grid minimize = {
        ".............",
        ".............",
        ".............",
        ".............",
        ".............",
        ".............",
        ".............",
        ".............",
        ".............",
        "..######.....",
        "..######.....",
        ".............",
        ".............",
    };
    static const Grid restore = {
        ".............",
        ".............",
        "....#######..",
        "....#######..",
        "....#.....#..",
        "..#######.#..",
        "..#######.#..",
        "..#.....###..",
        "..#.....#....",
        "..#.....#....",
        "..#######....",
        ".............",
        ".............",
    };
    switch (glyph) {
    case Glyph::Close:
        return close;
    case Glyph::Maximize:
        return maximize;
    case Glyph::Minimize:
        return minimize;
    case Glyph::Restore:
        break;
    }
    return restore;
}

void drawDesignPictures(const Output& out)
{
    constexpr QRgb blue = 0xff4f88d6;
    const CaptionLook flat = { blue, blue, stops({ { 0.0, blue }, { 1.0, blue } }), 0xff4177c4 };
    out.saveOpaque(
        QStringLiteral("resources/design/captionbar.png"), captionPiece(flat, Piece::Middle, 42));
    // The design corners carry no colour key, so their bottom row stays one line to the end.
    QImage left = opaqueOnBlack(captionPiece(flat, Piece::Left, kCornerWidth));
    left.setPixel(0, kCaptionHeight - 1, flat.bottom);
    out.saveOpaque(QStringLiteral("resources/design/captionbar_left.png"), left);
    QImage right = opaqueOnBlack(captionPiece(flat, Piece::Right, kCornerWidth));
    right.setPixel(kCornerWidth - 1, kCaptionHeight - 1, flat.bottom);
    out.saveOpaque(QStringLiteral("resources/design/captionbar_right.png"), right);

    const FrameLook frame = {
        { 0xff3f76c4, 0xff5a91dc, blue, blue, 0xff4980ce },
        { 0xff4980ce, blue, blue, blue, blue, blue, 0xff4a82d0, 0xff3f76c4 },
    };
    out.saveOpaque(QStringLiteral("resources/design/frameleft.png"), sideStrip(frame));
    QImage outerLit = canvas(kSideWidth, kSideHeight, blue);
    for (int x = 0; x < kSideWidth; ++x)
        fill(outerLit, x, 0, 1, kSideHeight, mix(blue, 0xff8db4ea, x / double(kSideWidth - 1)));
    out.saveOpaque(QStringLiteral("resources/design/frameright.png"), outerLit);
    out.saveOpaque(QStringLiteral("resources/design/framebottom.png"), bottomStrip(frame));
    out.saveOpaque(
        QStringLiteral("resources/design/framebottom_left.png"), bottomCorner(frame, true));
    out.saveOpaque(
        QStringLiteral("resources/design/framebottom_right.png"), bottomCorner(frame, false));
    out.saveMono(QStringLiteral("resources/design/mask_left.bmp"), cornerMask(Piece::Left));
    out.saveMono(QStringLiteral("resources/design/mask_right.bmp"), cornerMask(Piece::Right));

    out.saveOpaque(QStringLiteral("resources/design/button.png"),
        buttonFace({ blue, 0xff2b5aa6, 0xff9cc0f2, 0xff3f74c4, 0xff78a8ec, 0xff4c84d4 }));
    const GlyphInk ink = { 0xffa1c1ea, 0, false, 0 };
    out.saveOpaque(
        QStringLiteral("resources/design/glyph_close.png"), glyphPicture(Glyph::Close, ink));
    out.saveOpaque(
        QStringLiteral("resources/design/glyph_maximize.png"), glyphPicture(Glyph::Maximize, ink));
    out.saveOpaque(
        QStringLiteral("resources/design/glyph_minimize.png"), glyphPicture(Glyph::Minimize, ink));
    out.saveOpaque(
        QStringLiteral("resources/design/glyph_restore.png"), glyphPicture(Glyph::Restore, ink));
}

void drawStyles(const Output& out)
{
    saveStyle(out, luna());
    saveStyle(out, silver());
    saveStyle(out, licorice());
}

} // namespace art
