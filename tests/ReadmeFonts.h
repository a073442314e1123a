// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// A font configuration of only the fonts the README's commands install, with fontconfig's own
// default rules (aliases, hinting) and no user or local files, so text looks the same on any
// machine whatever else it has installed. Written into dir; returns the file to name in
// FONTCONFIG_FILE before the font system starts, or an empty string with why set.
inline QString writeReadmeFontConfig(const QString& dir, QString* why)
{
    const QStringList fontDirs = { QStringLiteral("/usr/share/fonts/truetype/dejavu"),
        QStringLiteral("/usr/share/fonts/truetype/liberation") };
    const QString rules = QStringLiteral("/usr/share/fontconfig/conf.avail/");
    const QStringList ruleFiles = { QStringLiteral("10-hinting-slight.conf"),
        QStringLiteral("10-scale-bitmap-fonts.conf"), QStringLiteral("10-yes-antialias.conf"),
        QStringLiteral("11-lcdfilter-default.conf"), QStringLiteral("30-metric-aliases.conf"),
        QStringLiteral("40-nonlatin.conf"), QStringLiteral("45-generic.conf"),
        QStringLiteral("45-latin.conf"), QStringLiteral("48-spacing.conf"),
        QStringLiteral("49-sansserif.conf"), QStringLiteral("60-generic.conf"),
        QStringLiteral("60-latin.conf"), QStringLiteral("90-synthetic.conf") };
    QByteArray xml
        = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
          "<fontconfig>\n";
    for (const QString& fontDir : fontDirs) {
        if (!QDir(fontDir).exists()) {
            *why = fontDir
                + QStringLiteral(" is missing: install fonts-dejavu-core and "
                                 "fonts-liberation (tools/test.sh does)");
            return {};
        }
        xml += "  <dir>" + QFile::encodeName(fontDir) + "</dir>\n";
    }
    for (const QString& file : ruleFiles) {
        if (!QFile::exists(rules + file)) {
            *why = rules + file + QStringLiteral(" is missing: install fontconfig-config");
            return {};
        }
        xml += "  <include>" + QFile::encodeName(rules + file) + "</include>\n";
    }
    xml += "  <cachedir>" + QFile::encodeName(dir) + "/cache</cachedir>\n</fontconfig>\n";
    const QString path = dir + QStringLiteral("/fonts.conf");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(xml) != xml.size()) {
        *why = QStringLiteral("cannot write ") + path;
        return {};
    }
    return path;
}
