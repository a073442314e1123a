// SPDX-License-Identifier: GPL-3.0-or-later
#include "style/DiskFile.h"

#include "style/AppError.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const QByteArray& path, int errnum)
{
    throw AppError::cannotOpen(QString::fromLocal8Bit(path), errnum);
}

// Closes on every way out, so a throw in the middle of reading does not leak the descriptor.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    { }
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

} // namespace

QByteArray readWholeFile(const QByteArray& path)
{
    // open() would stop at an embedded NUL and read some other file.
    if (path.contains('\0'))
        fail(path, ENOENT);

    // O_NONBLOCK keeps open() from waiting for a FIFO's writer; O_NOCTTY keeps a terminal from
    // becoming ours.
    int fd = -1;
    do {
        fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        fail(path, errno);
    const Descriptor file(fd);

    struct stat info = {};
    if (::fstat(file.fd(), &info) != 0)
        fail(path, errno);
    // A FIFO, socket or device has no end to read to and no picture in it. A directory goes on
    // to read(), which gives the system's own "Is a directory".
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return {};

    QByteArray bytes;
    qsizetype used = 0;
    try {
        // One byte more than the size, so that a file read whole ends in a read() of zero
        // without a second allocation.
        bytes.resize(qsizetype(qMax<off_t>(info.st_size, 0)) + 1);
        for (;;) {
            if (used == bytes.size())
                bytes.resize(bytes.size() * 2); // the file grew while we read it
            const ssize_t count
                = ::read(file.fd(), bytes.data() + used, size_t(bytes.size() - used));
            if (count > 0)
                used += count;
            else if (count == 0)
                break;
            else if (errno != EINTR)
                fail(path, errno);
        }
    } catch (const std::bad_alloc&) {
        fail(path, ENOMEM);
    }
    bytes.truncate(used);
    return bytes;
}
