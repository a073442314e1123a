// SPDX-License-Identifier: GPL-3.0-or-later
#include "xfwm4/ThemeImport.h"

#include "review/PictureKit.h"
#include "style/ColourKey.h"
#include "style/StyleCheck.h"
#include "style/StyleFiles.h"
#include "xfwm4/ButtonSplit.h"
#include "xfwm4/Pixels.h"
#include "xfwm4/ThemeReader.h"
#include "xfwm4/WholeFolder.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Pixels::at;

using Piece = StyleFile::Piece;
using Window = StyleFile::Window;
using Side = StyleFile::Side;
using Pieces = QHash<QByteArray, ThemeReader::Piece>;

const char* const kWindows[] = { "active", "inactive" };

// Which end of an axis is the piece's outside: kept when the piece is cut.
enum class Outside { Both, Start, End };

// For each place along an axis of length to, the source index along from: the same when they
// agree; longer, the first and last kept and the inner part stretched; shorter, the inner part
// cut away from the side that joins the next piece (the middle, for a piece with two outsides).
QList<int> axisMap(int from, int to, Outside outside)
{
    QList<int> map(to);
    if (from == to || from <= 0) {
        for (int i = 0; i < to; ++i)
            map[i] = std::min(i, std::max(from - 1, 0));
        return map;
    }
    if (to > from) {
        for (int i = 0; i < to; ++i) {
            if (from <= 2)
                map[i] = i * from / to;
            else if (i == 0)
                map[i] = 0;
            else if (i == to - 1)
                map[i] = from - 1;
            else
                map[i] = 1 + (i - 1) * (from - 2) / (to - 2);
        }
        return map;
    }
    const int head = outside == Outside::Start ? to : outside == Outside::End ? 0 : (to + 1) / 2;
    for (int i = 0; i < to; ++i)
        map[i] = i < head ? i : from - (to - i);
    return map;
}

QImage remap(const QImage& image, const QList<int>& xs, const QList<int>& ys)
{
    QImage out(int(xs.size()), int(ys.size()), QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            Pixels::set(out, x, y, at(image, xs[x], ys[y]));
    return out;
}

// The piece at width w (0: its own) and height h (0: its own).
QImage fit(const QImage& image, int w, int h, Outside across, Outside down)
{
    const int tw = w ? w : image.width();
    const int th = h ? h : image.height();
    if (image.size() == QSize(tw, th))
        return image;
    return remap(image, axisMap(image.width(), tw, across), axisMap(image.height(), th, down));
}

QByteArray howFitted(QSize from, QSize to)
{
    QByteArray how;
    auto axis = [&how](int a, int b, const char* name) {
        if (a == b)
            return;
        if (!how.isEmpty())
            how += ", ";
        how += QByteArray(a < b ? "stretched " : "cut ") + name + " in its inner part";
    };
    axis(from.width(), to.width(), "across");
    axis(from.height(), to.height(), "down");
    return how;
}

bool allKey(const QImage& picture)
{
    const QImage shown = ColourKey::apply(picture);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qAlpha(at(shown, x, y)) != 0)
                return false;
    return true;
}

bool samePicture(const QImage& a, const QImage& b)
{
    return a.size() == b.size()
        && a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

class Builder
{
public:
    Builder(const QByteArray& folder, const ThemeReader::Settings& settings)
        : m_folder(folder)
        , m_settings(settings)
        , m_present(ThemeReader::listFolder(folder))
    { }

    ThemeImport::Result run();

private:
    const ThemeReader::Piece& piece(const QByteArray& name)
    {
        auto found = m_pieces.find(name);
        if (found == m_pieces.end())
            found = m_pieces.insert(
                name, ThemeReader::readPiece(m_folder, name, m_settings.symbols, &m_present));
        return *found;
    }
    QImage image(const QByteArray& name) { return piece(name).image; }
    // The picture of name, or of its nearest neighbour in order, with a line saying which.
    QImage resolve(
        const QByteArray& name, const QList<QByteArray>& neighbours, const QByteArray& role);
    void line(const QByteArray& text) { m_style.adaptations.append(text); }
    void put(const char* file, const QImage& picture) { m_style.files.insert(file, picture); }
    QImage fitted(
        const QByteArray& source, const QImage& image, int w, int h, Outside across, Outside down);

    void frame(int w);
    QImage captionMiddle(int wi);
    QImage captionCorner(int wi, bool left, const QImage& middle);
    QImage continued(
        const QByteArray& name, const QImage& corner, int wi, bool left, const QImage& middle);
    void edges(int wi);
    void masksAndKey();
    void buttons();
    void leftOut();

    QByteArray m_folder;
    ThemeReader::Settings m_settings;
    QSet<QByteArray> m_present;
    Pieces m_pieces;
    ThemeImport::Style m_style;
    QImage m_corner[2][2]; // [side][window], before the key
};

QImage Builder::resolve(
    const QByteArray& name, const QList<QByteArray>& neighbours, const QByteArray& role)
{
    const ThemeReader::Piece& own = piece(name);
    if (!own.skipped.isEmpty())
        line(name + ": " + own.skipped + (own.image.isNull() ? ": counted as missing" : ""));
    if (!own.image.isNull())
        return own.image;
    for (const QByteArray& other : neighbours) {
        const QImage found = image(other);
        if (!found.isNull()) {
            line(name + ": missing: " + role + " made from " + other);
            return found;
        }
    }
    line(name + ": missing, and no neighbour to make " + role + " from: left see-through");
    return {};
}

QImage Builder::fitted(
    const QByteArray& source, const QImage& picture, int w, int h, Outside across, Outside down)
{
    const QImage out = fit(picture, w, h, across, down);
    if (out.size() != picture.size())
        line(source + ": " + sizeText(picture.size()).toLatin1() + " made "
            + sizeText(out.size()).toLatin1() + ", " + howFitted(picture.size(), out.size()));
    return out;
}

// Every frame piece the theme might have, so that a missing one has some neighbour.
QList<QByteArray> anyFrame(const char* w)
{
    QList<QByteArray> all;
    const char* const bases[] = { "title-3", "top-left", "top-right", "left", "right", "bottom",
        "bottom-left", "bottom-right", "title-1", "title-2", "title-4", "title-5" };
    for (const char* other : { w, std::strcmp(w, "active") == 0 ? "inactive" : "active" })
        for (const char* base : bases)
            all.append(QByteArray(base) + '-' + other);
    return all;
}

Window windowOf(int wi)
{
    return wi == 0 ? Window::Active : Window::Inactive;
}

// Nearest first: the same piece of the other window, then the pieces beside it.
QList<QByteArray> nearest(int wi, std::initializer_list<const char*> bases)
{
    QList<QByteArray> list;
    for (const char* base : bases) {
        list.append(QByteArray(base) + '-' + kWindows[wi]);
        list.append(QByteArray(base) + '-' + kWindows[1 - wi]);
    }
    list += anyFrame(kWindows[wi]);
    return list;
}

// The corner, continued on its inner side by next repeated, to the form's corner width.
QImage joined(const QImage& corner, const QImage& next, bool left)
{
    const int ch = StyleFiles::kCornerHeight;
    const int cw = StyleFiles::kCornerWidth;
    QImage wide(cw, ch, QImage::Format_ARGB32);
    const int extra = cw - corner.width();
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            QRgb p;
            if (left)
                p = x < corner.width() ? at(corner, x, y)
                                       : at(next, (x - corner.width()) % next.width(), y);
            else
                p = x >= extra ? at(corner, x - extra, y)
                               : at(next, next.width() - 1 - ((extra - 1 - x) % next.width()), y);
            Pixels::set(wide, x, y, p);
        }
    return wide;
}

void Builder::frame(int wi)
{
    const QImage middle = captionMiddle(wi);
    for (int side = 0; side < 2; ++side)
        m_corner[side][wi] = captionCorner(wi, side == 0, middle);
    edges(wi);
}

QImage Builder::captionMiddle(int wi)
{
    const QByteArray title = QByteArray("title-3-") + kWindows[wi];
    QImage middle = resolve(title,
        nearest(wi, { "title-3", "title-2", "title-4", "title-1", "title-5" }).mid(1),
        "the caption middle");
    middle = fitted(title, middle, 0, StyleFiles::kCornerHeight, Outside::Both, Outside::Both);
    put(StyleFiles::name(Piece::CaptionBar, windowOf(wi)), middle);
    return middle;
}

// A corner narrower than the form's continues with the piece xfwm4 draws beside it.
QImage Builder::captionCorner(int wi, bool left, const QImage& middle)
{
    const int cw = StyleFiles::kCornerWidth;
    const QByteArray name = QByteArray(left ? "top-left-" : "top-right-") + kWindows[wi];
    const QImage corner = resolve(name,
        nearest(wi, { left ? "top-left" : "top-right", left ? "title-1" : "title-5", "title-3" })
            .mid(1),
        left ? "the left caption corner" : "the right caption corner");
    const QImage out = fitted(name, corner, corner.width() > cw ? cw : 0, StyleFiles::kCornerHeight,
        left ? Outside::Start : Outside::End, Outside::Both);
    if (out.width() < cw)
        return continued(name, out, wi, left, middle);
    return out;
}

QImage Builder::continued(
    const QByteArray& name, const QImage& corner, int wi, bool left, const QImage& middle)
{
    const QByteArray w = kWindows[wi];
    const QByteArray nextName = QByteArray(left ? "title-1-" : "title-5-") + w;
    QImage next = image(nextName);
    QByteArray nextUsed = nextName;
    if (next.isNull()) {
        next = middle;
        nextUsed = "title-3-" + w;
    } else {
        next = fit(next, 0, StyleFiles::kCornerHeight, Outside::Both, Outside::Both);
    }
    const QImage wide = joined(corner, next, left);
    line(name + ": " + QByteArray::number(corner.width()) + " wide made "
        + QByteArray::number(StyleFiles::kCornerWidth) + ", continued with " + nextUsed);
    return wide;
}

void Builder::edges(int wi)
{
    const QByteArray w = kWindows[wi];
    const Window window = windowOf(wi);
    const QImage edge = resolve(
        "left-" + w, nearest(wi, { "left", "right", "bottom-left" }).mid(1), "the side edge");
    put(StyleFiles::name(Piece::SideEdge, window),
        fitted("left-" + w, edge, StyleFiles::kEdgeWidth, 0, Outside::Start, Outside::Both));
    const QImage bottom = resolve("bottom-" + w,
        nearest(wi, { "bottom", "bottom-left", "bottom-right" }).mid(1), "the bottom edge");
    put(StyleFiles::name(Piece::BottomEdge, window),
        fitted(
            "bottom-" + w, bottom, 0, StyleFiles::kBottomEdgeHeight, Outside::Both, Outside::End));
    // The form's bottom corners are as wide as its edges and as high as its bottom edge: the
    // part of xfwm4's corner that the client window covers has no place.
    const QImage bl = resolve("bottom-left-" + w,
        nearest(wi, { "bottom-left", "left", "bottom" }).mid(1), "the bottom-left corner");
    put(StyleFiles::name(Piece::BottomCorner, window, Side::Left),
        fitted("bottom-left-" + w, bl, StyleFiles::kEdgeWidth, StyleFiles::kBottomEdgeHeight,
            Outside::Start, Outside::End));
    const QImage br = resolve("bottom-right-" + w,
        nearest(wi, { "bottom-right", "right", "bottom" }).mid(1), "the bottom-right corner");
    put(StyleFiles::name(Piece::BottomCorner, window, Side::Right),
        fitted("bottom-right-" + w, br, StyleFiles::kEdgeWidth, StyleFiles::kBottomEdgeHeight,
            Outside::End, Outside::End));
}

// The masks: black where both corners of a side are opaque (the window's body), white outside.
// The window leaves out a left corner's bottom-left colour, so that pixel becomes the mask's
// white and any other white pixel of the corner moves one step off it.
void Builder::masksAndKey()
{
    const int cw = StyleFiles::kCornerWidth;
    const int ch = StyleFiles::kCornerHeight;
    const QRgb body = qRgb(0, 0, 0);
    const QRgb outside = qRgb(255, 255, 255);
    for (int side = 0; side < 2; ++side) {
        QImage mask(cw, ch, QImage::Format_RGB32);
        bool anyOutside = false;
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                const bool opaque = qAlpha(at(m_corner[side][0], x, y)) == 255
                    && qAlpha(at(m_corner[side][1], x, y)) == 255;
                Pixels::set(mask, x, y, opaque ? body : outside);
                anyOutside |= !opaque;
            }
        if (side == 0) {
            // Under the corner's keyed pixel, so it is outside as the window shows it.
            Pixels::set(mask, 0, ch - 1, outside);
            anyOutside = true;
        }
        const char* maskName
            = StyleFiles::name(Piece::Mask, Window::Both, side == 0 ? Side::Left : Side::Right);
        if (!anyOutside)
            line(QByteArray(maskName)
                + ": the right corners are opaque throughout: the mask is "
                  "all body, one colour");
        put(maskName, mask);
    }
    for (int wi = 0; wi < 2; ++wi) {
        QImage left = m_corner[0][wi];
        int moved = 0;
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x)
                if (at(left, x, y) == (outside | 0xff000000u) && !(x == 0 && y == ch - 1)) {
                    Pixels::set(left, x, y, qRgb(255, 255, 254));
                    ++moved;
                }
        Pixels::set(left, 0, ch - 1, outside);
        const Window window = wi == 0 ? Window::Active : Window::Inactive;
        const char* name = StyleFiles::name(Piece::CaptionCorner, window, Side::Left);
        QByteArray text = QByteArray(name)
            + ": the bottom-left pixel made the mask's outside colour, the window's colour key";
        if (moved)
            text
                += "; " + QByteArray::number(moved) + " other pixels of that colour moved one step";
        line(text);
        put(name, left);
        put(StyleFiles::name(Piece::CaptionCorner, window, Side::Right), m_corner[1][wi]);
    }
}

void Builder::buttons()
{
    static const char* const sources[ButtonSplit::kButtons]
        = { "hide", "maximize", "close", "maximize-toggled" };
    static const char* const states[ButtonSplit::kStates]
        = { "active", "prelight", "pressed", "inactive" };
    static const StyleFile::Button styleButtons[ButtonSplit::kButtons]
        = { StyleFile::Button::Minimize, StyleFile::Button::Maximize, StyleFile::Button::Close,
              StyleFile::Button::Restore };
    // The nearest state a missing one is made from.
    static const QList<int> nearest[ButtonSplit::kStates]
        = { { 1, 3, 2 }, { 0, 2, 3 }, { 1, 0, 3 }, { 0, 1, 2 } };
    ButtonSplit::Input input;
    for (int b = 0; b < ButtonSplit::kButtons; ++b)
        for (int s = 0; s < ButtonSplit::kStates; ++s) {
            const QByteArray name = QByteArray(sources[b]) + '-' + states[s];
            QList<QByteArray> neighbours;
            for (int n : nearest[s])
                neighbours.append(QByteArray(sources[b]) + '-' + states[n]);
            if (b == ButtonSplit::Restore)
                neighbours.append(QByteArray("maximize-") + states[s]);
            input.image[b][s] = resolve(name, neighbours,
                QByteArray(StyleFiles::buttonName(styleButtons[b])) + "'s "
                    + StyleFiles::stateName(StyleFile::State(s)) + " look");
        }
    input.caption[0] = image("title-3-active");
    input.caption[1] = image("title-3-inactive");
    if (input.caption[1].isNull())
        input.caption[1] = input.caption[0];
    const ButtonSplit::Output output = ButtonSplit::split(input);
    for (const QByteArray& text : output.lines)
        line(text);
    static const StyleFile::State faceStates[3]
        = { StyleFile::State::Normal, StyleFile::State::Over, StyleFile::State::Press };
    for (int s = 0; s < 3; ++s)
        put(StyleFiles::faceFile(faceStates[s]), output.face[s]);
    for (int b = 0; b < ButtonSplit::kButtons; ++b)
        for (int s = 0; s < ButtonSplit::kStates; ++s)
            put(StyleFiles::glyphFile(styleButtons[b], StyleFile::State(s)), output.glyph[b][s]);
    for (const StyleFile& file : StyleFiles::all())
        if (file.keyed && file.piece != Piece::CaptionCorner
            && allKey(m_style.files.value(file.name)))
            line(QByteArray(file.name)
                + ": nothing of the theme's button is left here but the "
                  "caption: all key colour, the window draws nothing of it");
}

void Builder::leftOut()
{
    for (const char* w : kWindows) {
        const QImage middle = image(QByteArray("title-3-") + w);
        for (const char* n : { "1", "2", "4", "5" }) {
            const QByteArray name = QByteArray("title-") + n + '-' + w;
            const QImage other = image(name);
            if (!other.isNull() && !samePicture(other, middle))
                line(name + ": differs from title-3-" + w
                    + ": a style has one caption middle, title-3's");
        }
        const QImage left = image(QByteArray("left-") + w);
        const QImage right = image(QByteArray("right-") + w);
        if (!right.isNull() && !samePicture(right, left))
            line(QByteArray("right-") + w + ": differs from left-" + w
                + ": the window shows the left edge on both sides");
        for (const char* n : { "1", "2", "3", "4", "5" }) {
            const QByteArray name = QByteArray("top-") + n + '-' + w;
            if (!image(name).isNull())
                line(name + ": a strip above the caption has no place in a style");
        }
    }
    for (const char* button : { "menu", "shade", "stick" })
        for (const char* state : { "active", "inactive", "prelight", "pressed", "toggled-active",
                 "toggled-inactive", "toggled-prelight", "toggled-pressed" }) {
            const QByteArray name = QByteArray(button) + '-' + state;
            if (!image(name).isNull())
                line(name + ": the form has no " + button + " button");
        }
    for (const char* key : { "active_text_color", "inactive_text_color", "active_text_shadow_color",
             "inactive_text_shadow_color" }) {
        const auto value = m_settings.values.constFind(key);
        if (value != m_settings.values.cend())
            line(QByteArray("themerc: ") + key + '=' + *value
                + ": the caption text takes the form's colours");
    }
}

ThemeImport::Result Builder::run()
{
    ThemeImport::Result result;
    bool anyFramePiece = false;
    for (const char* w : kWindows)
        for (const QByteArray& name : anyFrame(w))
            if (!image(name).isNull()) {
                anyFramePiece = true;
                break;
            }
    if (!anyFramePiece) {
        result.status = 1;
        result.error
            = "no frame piece at all (title-3-active.xpm, top-left-active.png and the like)";
        return result;
    }
    frame(0);
    frame(1);
    masksAndKey();
    buttons();
    leftOut();
    result.style = m_style;
    return result;
}

// The canonical form of a path that may not exist yet: its longest existing ancestor resolved,
// the rest appended.
QByteArray canonical(const QByteArray& path)
{
    QByteArray absolute = path;
    if (!absolute.startsWith('/')) {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd))
            absolute = QByteArray(cwd) + '/' + path;
    }
    QByteArray rest;
    QByteArray head = absolute;
    while (!head.isEmpty()) {
        char resolved[PATH_MAX];
        if (::realpath(head.constData(), resolved)) {
            QByteArray out(resolved);
            if (!rest.isEmpty())
                out += (out.endsWith('/') ? "" : "/") + rest;
            return out;
        }
        while (head.endsWith('/'))
            head.chop(1);
        const qsizetype slash = head.lastIndexOf('/');
        const QByteArray last = head.mid(slash + 1);
        if (last != "." && !last.isEmpty())
            rest = rest.isEmpty() ? last : last + '/' + rest;
        head = slash <= 0 ? QByteArray("/") : head.left(slash);
        if (head == "/" && slash <= 0 && !::realpath("/", resolved))
            break;
    }
    return absolute;
}

bool within(const QByteArray& inner, const QByteArray& outer)
{
    return inner == outer || inner.startsWith(outer.endsWith('/') ? outer : outer + '/');
}

// Present and holding something other than "." and "..".
bool nonEmptyDirectory(const QByteArray& path, bool& exists, bool& isDirectory)
{
    struct stat info = {};
    exists = ::lstat(path.constData(), &info) == 0;
    isDirectory = exists && S_ISDIR(info.st_mode);
    if (!isDirectory)
        return exists;
    return !WholeFolder::emptyFolder(path);
}

// Why the theme is not imported into dir, or nothing; exists tells whether dir is there.
QByteArray refusal(const QByteArray& theme, const QByteArray& folder, const QByteArray& dir,
    bool force, bool& exists)
{
    if (folder.isEmpty())
        return theme + ": no xfwm4/ folder";
    const QByteArray themeAt = canonical(theme);
    const QByteArray folderAt = canonical(folder);
    const QByteArray dirAt = canonical(dir);
    if (within(dirAt, themeAt) || within(dirAt, folderAt) || within(themeAt, dirAt))
        return dir
            + ": is the theme, lies inside it or holds it: the style would "
              "overwrite what it is read from";
    bool isDirectory = false;
    const bool occupied = nonEmptyDirectory(dir, exists, isDirectory);
    if (exists && !isDirectory)
        return dir + ": exists and is not a directory";
    if (occupied && !force)
        return dir + ": exists and is not empty (--force replaces it)";
    return {};
}

// Every file of the style into folder, counting those written; why not, or nothing.
QByteArray writeFiles(
    const ThemeImport::Style& style, const QByteArray& folder, const QByteArray& dir, int& written)
{
    for (const StyleFile& file : StyleFiles::all()) {
        const QImage picture = style.files.value(file.name);
        const QByteArray name(file.name);
        const QByteArray bytes
            = PictureKit::encoded(picture, name.endsWith(".bmp") ? "bmp" : "png");
        if (bytes.isEmpty() || !WholeFolder::writeWhole(folder + '/' + name, bytes)) {
            const QByteArray why = std::strerror(errno);
            WholeFolder::removeTree(folder);
            return dir + ": cannot be written: "
                + (bytes.isEmpty() ? QByteArray("cannot encode ") + name : why);
        }
        ++written;
    }
    return {};
}

// Written whole beside dir, then moved into place in one step; why not, or nothing.
QByteArray writeStyle(
    const ThemeImport::Style& style, const QByteArray& dir, bool exists, int& written)
{
    const QByteArray dirAt = canonical(dir);
    QByteArray parent = dirAt.left(dirAt.lastIndexOf('/'));
    if (parent.isEmpty())
        parent = "/";
    const QByteArray hidden = parent + (parent.endsWith('/') ? "." : "/.")
        + dirAt.mid(dirAt.lastIndexOf('/') + 1) + ".importing";
    WholeFolder::removeTree(hidden);
    if (::mkdir(hidden.constData(), 0755) != 0)
        return dir + ": cannot be written: " + std::strerror(errno);
    const QByteArray why = writeFiles(style, hidden, dir, written);
    if (!why.isEmpty())
        return why;
    int moved;
    if (exists)
        moved = ::renameat2(
            AT_FDCWD, hidden.constData(), AT_FDCWD, dirAt.constData(), RENAME_EXCHANGE);
    else
        moved = ::rename(hidden.constData(), dirAt.constData());
    if (moved != 0) {
        const int errnum = errno;
        WholeFolder::removeTree(hidden);
        return dir + ": cannot be written: " + std::strerror(errnum);
    }
    if (exists)
        WholeFolder::removeTree(hidden); // the old DIR, exchanged out
    return {};
}

} // namespace

namespace ThemeImport {

QByteArray xfwm4Folder(const QByteArray& theme)
{
    struct stat info = {};
    QByteArray base = theme;
    while (base.size() > 1 && base.endsWith('/'))
        base.chop(1);
    const QByteArray inside = base + "/xfwm4";
    if (::stat(inside.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return inside;
    if ((base == "xfwm4" || base.endsWith("/xfwm4")) && ::stat(base.constData(), &info) == 0
        && S_ISDIR(info.st_mode))
        return base;
    return {};
}

Result build(const QByteArray& folder)
{
    QByteArray bytes, why;
    if (!ThemeReader::readFile(folder + "/themerc", bytes, why)) {
        Result result;
        result.status = 1;
        result.error = folder + "/themerc: cannot be read: " + why;
        return result;
    }
    return Builder(folder, ThemeReader::parseThemerc(bytes)).run();
}

Result importTheme(const QByteArray& theme, const QByteArray& dir, bool force)
{
    Result result;
    result.status = 1;
    const QByteArray folder = xfwm4Folder(theme);
    bool exists = false;
    result.error = refusal(theme, folder, dir, force, exists);
    if (!result.error.isEmpty())
        return result;

    Result built = build(folder);
    if (built.status != 0) {
        built.error = built.error.startsWith(folder) ? built.error : theme + ": " + built.error;
        return built;
    }
    result.style = built.style;
    result.error = writeStyle(result.style, dir, exists, result.written);
    if (result.error.isEmpty())
        result.status = 0;
    return result;
}

} // namespace ThemeImport
