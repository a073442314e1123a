// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

// Copies the named sample style of this checkout into to (ending in "/"), so a bench never reads
// the machine's fixed style paths. False when anything could not be copied.
inline bool copySampleStyle(const QString& name, const QString& to)
{
    const QDir from(QStringLiteral(FW_SOURCE_DIR "styles/") + name + QStringLiteral("/Frame/"));
    if (!QDir().mkpath(to))
        return false;
    const QStringList names = from.entryList(QDir::Files);
    for (const QString& file : names)
        if (!QFile::copy(from.filePath(file), to + file))
            return false;
    return !names.isEmpty();
}
