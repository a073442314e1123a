// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A style directory made by the test itself: every file a distinct solid colour, so a test can
// tell from any image which file it shows. The bottom-left pixel of every PNG is white, the
// colour key of the transparent images, so the rest of a piece stays visible on them.
class StyleFixture
{
public:
    // subdir may hold spaces or non-ASCII letters; the directory path ends in "/".
    explicit StyleFixture(const QString& subdir = QStringLiteral("Style"));

    static const QStringList& files();
    static QRgb colourOf(const QString& file);
    static QSize defaultSize(const QString& file);

    QString dir() const { return m_dir; }
    QByteArray dirBytes() const { return m_dir.toLocal8Bit(); }
    QString path(const QString& file) const { return m_dir + file; }

    void writeAll();
    // A solid piece of the file's own colour (or the given one) in the given size.
    void write(const QString& file, QSize size, QRgb colour);
    void write(const QString& file, QSize size) { write(file, size, colourOf(file)); }
    void writeImage(const QString& file, const QImage& image);
    void remove(const QString& file);

    // A corner whose top-left cut-away (cut x cut pixels) is fully transparent.
    static QImage cornerImage(QSize size, QRgb colour, int cut);
    // A mask: black body, white in the top-left cut x cut square.
    static QImage maskImage(int cut);

private:
    QTemporaryDir m_root;
    QString m_dir;
};

// Which fixture file an image shows, judged by the colour of its middle pixel.
QString fileShownBy(const QImage& picture);
