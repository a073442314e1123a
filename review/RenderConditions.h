// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <utility>

// What a render depends on besides the style: the program, the toolkit, the font the captions
// came out in, the panel's size and the minimize button's look. A reference carries them as PNG
// text chunks, so a difference made by another machine can be told from one made by the style.
class RenderConditions
{
public:
    RenderConditions() = default;

    // The conditions of this process's render.
    static RenderConditions current(const QFont& captionFont, QSize size, const QString& minimize);
    // The chunks a picture carries; none for a reference made before they existed.
    static RenderConditions readFrom(const QImage& picture);

    void writeTo(QImage& picture) const;
    bool isEmpty() const { return m_values.isEmpty(); }
    QString value(const QString& key) const;

    // One phrase per condition the reference carries with another value, in the chunks' order:
    // Caption font "DejaVu Sans, Bold, 700" in the reference, "Liberation Sans, Bold, 700" here
    QStringList differencesFrom(const RenderConditions& reference) const;

    // The family, style name and weight the font system gives for font.
    static QString fontText(const QFont& font);

private:
    QList<std::pair<QString, QString>> m_values;
};
