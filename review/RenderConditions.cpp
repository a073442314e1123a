// SPDX-License-Identifier: GPL-3.0-or-later
#include "review/RenderConditions.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QtGlobal>

namespace {

// The chunk keys, in the order they are written and reported.
const char* const kKeys[] = { "Software", "Qt", "Caption font", "Size", "Minimize" };

} // namespace

RenderConditions RenderConditions::current(
    const QFont& captionFont, QSize size, const QString& minimize)
{
    RenderConditions conditions;
    const QString values[] = {
        QCoreApplication::applicationName() + QLatin1Char(' ')
            + QCoreApplication::applicationVersion(),
        QString::fromLatin1(qVersion()),
        fontText(captionFont),
        QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
        minimize,
    };
    for (int i = 0; i < int(std::size(kKeys)); ++i)
        conditions.m_values.append({ QString::fromLatin1(kKeys[i]), values[i] });
    return conditions;
}

RenderConditions RenderConditions::readFrom(const QImage& picture)
{
    RenderConditions conditions;
    for (const char* key : kKeys) {
        const QString name = QString::fromLatin1(key);
        const QString text = picture.text(name);
        if (!text.isEmpty())
            conditions.m_values.append({ name, text });
    }
    return conditions;
}

void RenderConditions::writeTo(QImage& picture) const
{
    for (const auto& [key, text] : m_values)
        picture.setText(key, text);
}

QString RenderConditions::value(const QString& key) const
{
    for (const auto& [name, text] : m_values)
        if (name == key)
            return text;
    return {};
}

QStringList RenderConditions::differencesFrom(const RenderConditions& reference) const
{
    QStringList phrases;
    for (const auto& [key, theirs] : reference.m_values) {
        const QString ours = value(key);
        if (ours != theirs)
            phrases.append(
                QStringLiteral("%1 \"%2\" in the reference, \"%3\" here").arg(key, theirs, ours));
    }
    return phrases;
}

QString RenderConditions::fontText(const QFont& font)
{
    const QFontInfo info(font);
    return QStringLiteral("%1, %2, %3").arg(info.family(), info.styleName()).arg(info.weight());
}
