// SPDX-License-Identifier: GPL-3.0-or-later
#include "style/StyleCheck.h"

#include "style/AppError.h"
#include "style/BitmapReader.h"
#include "style/ColourKey.h"
#include "style/ErrorText.h"
#include "style/StyleFiles.h"

#include <QHash>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <exception>
#include <optional>
#include <vector>

namespace {

using Piece = StyleFile::Piece;
using State = StyleFile::State;

// The names in the directory as raw bytes, so a name that is not valid UTF-8 survives; or the
// system's reason why the directory cannot be listed.
std::optional<QList<QByteArray>> listDirectory(const QByteArray& dir, int& errnum)
{
    errnum = 0;
    DIR* stream = ::opendir(dir.constData());
    if (!stream) {
        errnum = errno;
        return std::nullopt;
    }
    QList<QByteArray> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(stream);
        if (!entry)
            break;
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(QByteArray(entry->d_name));
    }
    const int readError = errno;
    ::closedir(stream);
    if (readError) {
        errnum = readError;
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The reader's two messages tell its two failures apart; anything else it throws is the
// allocator's.
const char* readRule(const std::exception& error)
{
    const auto* appError = dynamic_cast<const AppError*>(&error);
    if (!appError)
        return "out-of-memory";
    return appError->message() == AppError::formatNotRecognized().message() ? "not-an-image"
                                                                            : "cannot-open";
}

class Checker
{
public:
    explicit Checker(StyleReport& report)
        : m_report(report)
    { }

    void run(const QList<QByteArray>& names);

private:
    void add(
        const char* file, StyleProblem::Severity severity, const QString& message, const char* rule)
    {
        m_report.problems.append({ QByteArray(file), severity, message, rule });
    }
    void warn(const char* file, const QString& message, const char* rule)
    {
        add(file, StyleProblem::Severity::Warning, message, rule);
    }

    void checkPicture(const StyleFile& file, const QImage& picture);
    void checkSize(const StyleFile& file, QSize size);
    void checkMaskColours(const StyleFile& file, const QImage& mask);
    void checkKeyLeavesSomething(const StyleFile& file, const QImage& picture);
    void checkSameShape(const StyleFile& file, QSize size);
    void checkNearMiss(const QByteArray& name);

    StyleReport& m_report;
    QImage m_leftMask;
    // The first readable face or glyph state the window shows under the pointer, per button.
    QMap<Piece, std::pair<const char*, QSize>> m_firstShape; // the face, the minimize glyph
};

void Checker::run(const QList<QByteArray>& names)
{
    for (const StyleFile& file : StyleFiles::all()) {
        if (file.reader == StyleFile::Reader::Nobody)
            continue;
        QImage picture;
        try {
            picture = readBitmap(joinStylePath(m_report.dir, file.name));
        } catch (const std::exception& error) {
            add(file.name, StyleProblem::Severity::Error,
                ErrorText::format(ErrorText::messageOf(error)), readRule(error));
            continue;
        }
        checkPicture(file, picture);
    }
    for (const QByteArray& name : names)
        if (!StyleFiles::find(name))
            checkNearMiss(name);
}

void Checker::checkPicture(const StyleFile& file, const QImage& picture)
{
    checkSize(file, picture.size());
    if (file.piece == Piece::Mask) {
        checkMaskColours(file, picture);
        if (file.side == StyleFile::Side::Left)
            m_leftMask = picture;
    }
    if (file.keyed)
        checkKeyLeavesSomething(file, picture);
    if (file.piece == Piece::ButtonFace || file.piece == Piece::Glyph)
        checkSameShape(file, picture.size());
}

void Checker::checkSize(const StyleFile& file, QSize size)
{
    switch (file.drawing) {
    case StyleFile::Drawing::OwnSize:
        return;
    case StyleFile::Drawing::StretchedWide:
        if (size.height() != file.height)
            warn(file.name,
                QStringLiteral("is %1 pixels high, not %2: the window stretches it to %2 high")
                    .arg(size.height())
                    .arg(file.height),
                "stretched-size");
        return;
    case StyleFile::Drawing::StretchedHigh:
        if (size.width() != file.width)
            warn(file.name,
                QStringLiteral("is %1 pixels wide, not %2: the window stretches it across to %2 "
                               "wide, on the right edge as well as the left")
                    .arg(size.width())
                    .arg(file.width),
                "stretched-size");
        return;
    case StyleFile::Drawing::Cut:
        break;
    }
    const QSize fixed(file.width, file.height);
    if (size == fixed)
        return;
    const bool larger = size.width() > fixed.width() || size.height() > fixed.height();
    const bool smaller = size.width() < fixed.width() || size.height() < fixed.height();
    // Under a small corner the mask shows; under a small mask, whatever the corner image showed
    // before: the form's picture or the previous style's.
    const QString around = file.piece == Piece::Mask
        ? QStringLiteral("the corner's earlier picture shows around it")
        : QStringLiteral("the mask shows around it");
    QString what;
    if (larger && smaller)
        what = QStringLiteral("the window cuts it to %1 and %2").arg(sizeText(fixed), around);
    else if (larger)
        what = QStringLiteral("the window cuts it to %1").arg(sizeText(fixed));
    else
        what = around;
    warn(file.name, QStringLiteral("is %1, not %2: %3").arg(sizeText(size), sizeText(fixed), what),
        "cut-size");
}

void Checker::checkMaskColours(const StyleFile& file, const QImage& mask)
{
    QSet<QRgb> colours;
    for (int y = 0; y < mask.height() && colours.size() <= 2; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width() && colours.size() <= 2; ++x)
            colours.insert(line[x]);
    }
    if (colours.size() == 1)
        warn(file.name,
            QStringLiteral("has one colour, not two: no cut-away corner shows through the "
                           "caption corner"),
            "mask-colours");
    else if (colours.size() > 2)
        warn(file.name,
            QStringLiteral("has more than two colours: the window paints them all where the "
                           "caption corner lets the mask through"),
            "mask-colours");
}

// The window leaves out every pixel of the picture's bottom-left colour and draws the rest
// opaque, whatever their alpha. The left caption corner is keyed as composed: the corner over
// the left mask, cut to the corner's size; what lies under a mask smaller than that is the
// corner image's earlier picture, which no style decides, so it counts as see-through here.
void Checker::checkKeyLeavesSomething(const StyleFile& file, const QImage& picture)
{
    QImage shown = picture;
    if (file.piece == Piece::CaptionCorner) {
        shown = QImage(file.width, file.height, QImage::Format_ARGB32);
        shown.fill(Qt::transparent);
        QPainter painter(&shown);
        if (!m_leftMask.isNull())
            painter.drawImage(0, 0, m_leftMask);
        painter.drawImage(0, 0, picture);
    }
    const QImage keyed = ColourKey::apply(shown);
    for (int y = 0; y < keyed.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(keyed.constScanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if (qAlpha(line[x]) != 0)
                return;
    }
    const QString what = file.piece == Piece::CaptionCorner
        ? QStringLiteral("over the mask, every pixel has the colour of its bottom-left pixel, "
                         "the colour key: the window shows nothing of the corner")
        : QStringLiteral("every pixel has the colour of its bottom-left pixel, the colour key: "
                         "the window draws nothing of it");
    warn(file.name, what, "all-key-colour");
}

void Checker::checkSameShape(const StyleFile& file, QSize size)
{
    const bool underPointer
        = file.state == State::Normal || file.state == State::Over || file.state == State::Press;
    if (!underPointer)
        return;
    // Only the button that reacts to the pointer shows its states in one place.
    if (file.piece != Piece::ButtonFace && file.button != StyleFile::Button::Minimize)
        return;
    const Piece button = file.piece;
    const auto first = m_firstShape.constFind(button);
    if (first == m_firstShape.cend()) {
        m_firstShape.insert(button, { file.name, size });
        return;
    }
    if (first->second != size)
        warn(file.name,
            QStringLiteral("is %1, %2 is %3: the %4 changes shape under the pointer")
                .arg(sizeText(size), QString::fromLatin1(first->first), sizeText(first->second),
                    file.piece == Piece::Glyph ? QStringLiteral("glyph")
                                               : QStringLiteral("button")),
            "shape-change");
}

// Levenshtein distance with adjacent transpositions, given up once it must exceed limit.
int editDistance(const QByteArray& a, const QByteArray& b, int limit)
{
    const qsizetype n = a.size(), m = b.size();
    if (qAbs(n - m) > limit)
        return limit + 1;
    std::vector<int> before(size_t(m + 1)), previous(size_t(m + 1)), current(size_t(m + 1));
    for (qsizetype j = 0; j <= m; ++j)
        previous[size_t(j)] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        current[0] = int(i);
        int rowBest = current[0];
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            int d = std::min({ previous[size_t(j)] + 1, current[size_t(j - 1)] + 1,
                previous[size_t(j - 1)] + cost });
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d = std::min(d, before[size_t(j - 2)] + 1);
            current[size_t(j)] = d;
            rowBest = std::min(rowBest, d);
        }
        if (rowBest > limit)
            return limit + 1;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[size_t(m)];
}

void Checker::checkNearMiss(const QByteArray& name)
{
    constexpr int kLimit = 2;
    const QByteArray folded = name.toLower();
    const StyleFile* best = nullptr;
    int bestDistance = kLimit + 1;
    for (const StyleFile& file : StyleFiles::all()) {
        const int d = editDistance(folded, QByteArray(file.name), kLimit);
        if (d < bestDistance) {
            best = &file;
            bestDistance = d;
        }
    }
    if (!best)
        return;
    const QString suggestion = QString::fromLatin1(best->name);
    if (bestDistance == 0)
        warn(name.constData(),
            QStringLiteral("the window reads lower-case names only and never this one: did you "
                           "mean %1?")
                .arg(suggestion),
            "near-miss-name");
    else
        warn(name.constData(),
            QStringLiteral("not a style file, the window never reads it: did you mean %1?")
                .arg(suggestion),
            "near-miss-name");
}

} // namespace

int StyleReport::errors() const
{
    return int(std::count_if(problems.cbegin(), problems.cend(),
        [](const StyleProblem& p) { return p.severity == StyleProblem::Severity::Error; }));
}

int StyleReport::warnings() const
{
    return int(problems.size()) - errors();
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

StyleReport checkStyle(const QByteArray& dir)
{
    StyleReport report;
    report.dir = dir;
    try {
        int errnum = 0;
        const std::optional<QList<QByteArray>> names = listDirectory(dir, errnum);
        if (!names) {
            report.problems.append({ QByteArray(), StyleProblem::Severity::Error,
                QString::fromLocal8Bit(std::strerror(errnum)), "unlistable-dir" });
            return report;
        }
        Checker(report).run(*names);
    } catch (const std::exception& error) {
        // Only running out of memory gets here; what was found so far still stands.
        report.problems.append({ QByteArray(), StyleProblem::Severity::Error,
            ErrorText::messageOf(error), "out-of-memory" });
    }
    return report;
}
