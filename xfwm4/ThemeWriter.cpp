// SPDX-License-Identifier: GPL-3.0-or-later
#include "xfwm4/ThemeWriter.h"

#include "xfwm4/WholeFolder.h"

#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ThemeWriter {

using WholeFolder::emptyFolder;
using WholeFolder::removeTree;
using WholeFolder::writeWhole;

const char kHiddenFolder[] = ".xfwm4.framewright-export";

namespace {

QByteArray withoutTrailingSlashes(const QByteArray& path)
{
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    return path.left(end);
}

QByteArray reasonOf(int errnum)
{
    return QByteArray(std::strerror(errnum));
}

Result failed(const QByteArray& path, int errnum)
{
    return { Outcome::Failed, "cannot write " + path + ": " + reasonOf(errnum) };
}

bool makePath(const QByteArray& path)
{
    for (qsizetype slash = path.indexOf('/', 1); slash != -1; slash = path.indexOf('/', slash + 1))
        if (::mkdir(path.left(slash).constData(), 0755) != 0 && errno != EEXIST)
            return false;
    return ::mkdir(path.constData(), 0755) == 0 || errno == EEXIST;
}

} // namespace

QByteArray themeName(const QByteArray& themeDir)
{
    const QByteArray path = withoutTrailingSlashes(themeDir);
    return path.mid(path.lastIndexOf('/') + 1);
}

bool validName(const QByteArray& themeDir)
{
    const QByteArray name = themeName(themeDir);
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(name);
    return !decoder.hasError();
}

bool occupied(const QByteArray& themeDir)
{
    const QByteArray target = withoutTrailingSlashes(themeDir) + "/xfwm4";
    struct stat info;
    if (::lstat(target.constData(), &info) != 0)
        return false;
    return !S_ISDIR(info.st_mode) || !emptyFolder(target);
}

Result write(const QByteArray& themeDir, const QList<ThemeExport::File>& files, bool replace,
    const std::function<void(int)>& step)
{
    int done = 0;
    const auto next = [&] {
        if (step)
            step(done);
        ++done;
    };
    const QByteArray theme = withoutTrailingSlashes(themeDir);
    const QByteArray hidden = theme + '/' + kHiddenFolder;
    const QByteArray target = theme + "/xfwm4";

    next();
    if (!makePath(theme))
        return failed(themeDir, errno);
    next();
    if (!removeTree(hidden))
        return failed(hidden, errno);
    next();
    if (::mkdir(hidden.constData(), 0755) != 0)
        return failed(themeDir, errno);
    for (const ThemeExport::File& file : files) {
        next();
        if (!writeWhole(hidden + '/' + file.name, file.bytes)) {
            const int errnum = errno;
            removeTree(hidden);
            return failed(target + '/' + file.name, errnum);
        }
    }

    next();
    // A rename replaces an empty folder in one step; one that holds something is exchanged
    // with the new one, and goes only once the new one is in its place.
    if (occupied(theme)) {
        if (!replace) {
            removeTree(hidden);
            return { Outcome::Refused, target + " exists and is not empty" };
        }
        if (::renameat2(AT_FDCWD, hidden.constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE)
            != 0) {
            const int errnum = errno;
            removeTree(hidden);
            return failed(target, errnum);
        }
        next();
        removeTree(hidden);
        return { Outcome::Written, {} };
    }
    if (::rename(hidden.constData(), target.constData()) != 0) {
        const int errnum = errno;
        removeTree(hidden);
        return failed(target, errnum);
    }
    return { Outcome::Written, {} };
}

} // namespace ThemeWriter
