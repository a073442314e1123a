// SPDX-License-Identifier: GPL-3.0-or-later
#include "review/StyleDiff.h"

#include "review/PictureKit.h"
#include "style/AppError.h"
#include "style/DiskFile.h"
#include "style/StyleFiles.h"

#include <QFontMetrics>
#include <QPainter>
#include <cerrno>
#include <dirent.h>
#include <optional>
#include <sys/stat.h>

namespace {

bool listable(const QByteArray& dir)
{
    DIR* stream = ::opendir(dir.constData());
    if (!stream)
        return false;
    ::closedir(stream);
    return true;
}

// The file's bytes; nothing when it does not exist. Throws AppError when it exists but cannot
// be read.
std::optional<QByteArray> contentOf(const QByteArray& path)
{
    struct stat info = {};
    if (::stat(path.constData(), &info) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw AppError::cannotOpen(QString::fromLocal8Bit(path), errno);
    }
    return readWholeFile(path);
}

} // namespace

QList<StyleFileChange> changedStyleFiles(const QByteArray& oldDir, const QByteArray& newDir)
{
    using Kind = StyleFileChange::Kind;
    QList<StyleFileChange> changes;
    for (const StyleFile& file : StyleFiles::all()) {
        try {
            const std::optional<QByteArray> before = contentOf(joinStylePath(oldDir, file.name));
            const std::optional<QByteArray> after = contentOf(joinStylePath(newDir, file.name));
            if (before && after && *before != *after)
                changes.append({ file.name, Kind::Differs, {} });
            else if (before && !after)
                changes.append({ file.name, Kind::OnlyInOld, {} });
            else if (!before && after)
                changes.append({ file.name, Kind::OnlyInNew, {} });
        } catch (const AppError& error) {
            changes.append({ file.name, Kind::Unreadable, error.message() });
        }
    }
    return changes;
}

QImage sideBySide(const QImage& oldPicture, const QImage& newPicture, const QString& oldLabel,
    const QString& newLabel)
{
    constexpr int kGap = 8;
    const QImage panels[] = { oldPicture, newPicture, markDifferences(newPicture, oldPicture) };
    const QString labels[] = { oldLabel, newLabel,
        QStringLiteral("%1, red where it differs from %2").arg(newLabel, oldLabel) };
    const QSize panel = oldPicture.size().expandedTo(newPicture.size());
    const QFont font = PictureKit::font();
    const QFontMetrics metrics(font);
    const int top = kGap + metrics.height() + kGap;

    QImage picture(3 * panel.width() + 4 * kGap, top + panel.height() + kGap, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < 3; ++i) {
        const int left = kGap + i * (panel.width() + kGap);
        painter.drawText(QRect(left, kGap, panel.width(), metrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(labels[i], Qt::ElideMiddle, panel.width()));
        painter.drawImage(left, top, panels[i]);
    }
    return picture;
}

StyleDiff diffStyles(const QByteArray& oldDir, const QByteArray& newDir, StyleFile::State look,
    const QString& oldLabel, const QString& newLabel, QSize windowSize)
{
    StyleDiff diff;
    diff.oldRender = renderPanel(oldDir, look, windowSize);
    diff.newRender = renderPanel(newDir, look, windowSize);
    diff.listed = listable(oldDir) && listable(newDir);
    if (diff.listed)
        diff.files = changedStyleFiles(oldDir, newDir);
    diff.difference = comparePictures(diff.newRender.picture, diff.oldRender.picture);
    diff.picture = sideBySide(diff.oldRender.picture, diff.newRender.picture, oldLabel, newLabel);
    return diff;
}
