// SPDX-License-Identifier: GPL-3.0-or-later
#include "xfwm4/WholeFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace WholeFolder {

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return ::remove(path);
}

} // namespace

bool removeTree(const QByteArray& path)
{
    struct stat info;
    if (::lstat(path.constData(), &info) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(info.st_mode))
        return ::unlink(path.constData()) == 0;
    // A style or theme folder is flat: its files go by name from the open folder, without a
    // path walk and a stat each as nftw does them; only a folder inside takes the walk.
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return ::nftw(path.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS) == 0;
    }
    bool ok = true;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (entry->d_type != DT_DIR && ::unlinkat(fd, entry->d_name, 0) == 0)
            continue;
        const QByteArray inner = path + '/' + entry->d_name;
        ok = ::nftw(inner.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS) == 0 && ok;
    }
    ::closedir(dir);
    return ::rmdir(path.constData()) == 0 && ok;
}

bool writeWhole(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int errnum = written < 0 ? errno : ENOSPC;
            ::close(fd);
            errno = errnum;
            return false;
        }
        data += written;
        left -= written;
    }
    // No fsync: a kill cannot leave a half-written folder in place, since it is moved in only
    // once every file is written.
    return ::close(fd) == 0;
}

bool emptyFolder(const QByteArray& path)
{
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return false;
    bool empty = true;
    while (const dirent* entry = ::readdir(dir))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            empty = false;
            break;
        }
    ::closedir(dir);
    return empty;
}

} // namespace WholeFolder
