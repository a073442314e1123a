// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/StyleWatch.h"

#include "style/StyleFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <sys/stat.h>

namespace {

// The file's inode, or 0 when it is not there (or not a regular file to watch).
quint64 inodeOf(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return 0;
    return quint64(info.st_ino);
}

bool isDirectory(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

StyleWatch::StyleWatch(std::chrono::milliseconds quietPeriod, QObject* parent)
    : QObject(parent)
    , m_watcher(new QFileSystemWatcher(this))
    , m_quiet(new QTimer(this))
{
    m_quiet->setSingleShot(true);
    // A coarse timer may fire 5% early: the quiet period is a promise to the author's editor.
    m_quiet->setTimerType(Qt::PreciseTimer);
    m_quiet->setInterval(quietPeriod);
    connect(m_quiet, &QTimer::timeout, this, &StyleWatch::emitSettled);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &StyleWatch::directoryChanged);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &StyleWatch::fileChanged);
}

void StyleWatch::setDirectory(const QString& dir)
{
    if (dir == m_dir)
        return;
    if (const QStringList all = m_watcher->files() + m_watcher->directories(); !all.isEmpty())
        m_watcher->removePaths(all);
    m_dir = dir;
    m_ancestor.clear();
    m_inodes.clear();
    m_quiet->stop();
    rearm();
    // The new directory is being loaded now: neither the old one's changes nor arming are news.
    m_changed.clear();
}

QStringList StyleWatch::watchedPaths() const
{
    return m_watcher->directories() + m_watcher->files();
}

bool StyleWatch::rearm()
{
    if (m_dir.isEmpty())
        return false;
    const QString dirPath
        = m_dir.endsWith(QLatin1Char('/')) && m_dir.size() > 1 ? m_dir.chopped(1) : m_dir;
    if (!isDirectory(dirPath)) {
        if (const QStringList files = m_watcher->files(); !files.isEmpty())
            m_watcher->removePaths(files);
        if (m_watcher->directories().contains(dirPath))
            m_watcher->removePath(dirPath);
        m_inodes.clear();
        QString ancestor = QFileInfo(dirPath).path();
        while (!isDirectory(ancestor) && ancestor != QFileInfo(ancestor).path())
            ancestor = QFileInfo(ancestor).path();
        if (ancestor != m_ancestor) {
            if (!m_ancestor.isEmpty())
                m_watcher->removePath(m_ancestor);
            m_ancestor = ancestor;
            m_watcher->addPath(ancestor);
        }
        return false;
    }
    if (!m_ancestor.isEmpty()) {
        m_watcher->removePath(m_ancestor);
        m_ancestor.clear();
    }
    if (!m_watcher->directories().contains(dirPath))
        m_watcher->addPath(dirPath);
    const QStringList watched = m_watcher->files();
    for (const StyleFile& file : StyleFiles::all()) {
        const QString path = m_dir + QLatin1String(file.name);
        const quint64 inode = inodeOf(path);
        const auto known = m_inodes.constFind(path);
        const bool isWatched = watched.contains(path);
        if (inode == 0) {
            if (isWatched)
                m_watcher->removePath(path);
            if (known != m_inodes.cend()) {
                m_inodes.erase(known);
                changed(QLatin1String(file.name));
            }
            continue;
        }
        if (isWatched && known != m_inodes.cend() && *known == inode)
            continue;
        // New, re-created or replaced: watch the file that is there now.
        if (isWatched)
            m_watcher->removePath(path);
        m_watcher->addPath(path);
        changed(QLatin1String(file.name));
        m_inodes.insert(path, inode);
    }
    return true;
}

void StyleWatch::directoryChanged(const QString& path)
{
    if (!m_ancestor.isEmpty() && path == m_ancestor) {
        // Only the style directory's return is news; the rest of the ancestor is not ours.
        if (rearm()) {
            changedAll();
            m_quiet->start();
        }
        return;
    }
    if (!rearm()) {
        changedAll();
        m_quiet->start();
        return;
    }
    // A file added, removed or renamed: rearm() named what changed; any other entry of the
    // directory is no file of the style and changes nothing shown.
    if (!m_changed.isEmpty())
        m_quiet->start();
}

void StyleWatch::fileChanged(const QString& path)
{
    const QString name = path.mid(m_dir.size());
    if (!path.startsWith(m_dir) || name.contains(QLatin1Char('/')))
        return;
    changed(name);
    rearm();
    m_quiet->start();
}

void StyleWatch::changed(const QString& name)
{
    m_changed.insert(name);
}

void StyleWatch::changedAll()
{
    for (const StyleFile& file : StyleFiles::all())
        m_changed.insert(QLatin1String(file.name));
}

void StyleWatch::emitSettled()
{
    QStringList names(m_changed.cbegin(), m_changed.cend());
    m_changed.clear();
    names.sort();
    emit settled(names);
}
