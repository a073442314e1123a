// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <chrono>

class QFileSystemWatcher;
class QTimer;

// Watches one style directory and every file of the style table in it, and says once the files
// have been left alone for the quiet period, so an author's save (often several writes and a
// rename) gives one reload. It survives what editors and branch switches do to a directory:
// files replaced by rename, deleted and made again, the directory itself removed and made again.
// While the directory is missing it watches the nearest ancestor that exists.
class StyleWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kQuietPeriod { 250 };

    explicit StyleWatch(std::chrono::milliseconds quietPeriod, QObject* parent = nullptr);

    // dir is a style directory's text, ending in "/"; the same directory again changes nothing.
    void setDirectory(const QString& dir);
    QString directory() const { return m_dir; }

    // What the watcher holds now: the directory and its files, or the ancestor standing in.
    QStringList watchedPaths() const;

signals:
    // The files (names of the style table) that changed since the last signal; every name when
    // the directory itself came or went.
    void settled(const QStringList& changedFiles);

private:
    void directoryChanged(const QString& path);
    void fileChanged(const QString& path);
    // Brings the watcher back in line with the disk after any signal: files replaced or
    // re-created drop out of an inotify watch, and a vanished directory hands over to an
    // ancestor. Returns whether the directory exists.
    bool rearm();
    void changed(const QString& name);
    void changedAll();
    void emitSettled();

    QFileSystemWatcher* m_watcher = nullptr;
    QTimer* m_quiet = nullptr;
    QString m_dir;
    QString m_ancestor;
    // The inode each watched file had when added: a replacement by rename shows as a new one.
    QHash<QString, quint64> m_inodes;
    QSet<QString> m_changed;
};
