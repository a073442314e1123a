// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Paths come from the command line and from directory listings as raw bytes. Printed, they
// stay one line of valid UTF-8: valid characters as they are, any other byte (and any control
// character) as \xNN.
QByteArray printable(const QByteArray& bytes);

// A message that quotes paths under dir, as text decoded from dir's bytes: wherever dir is not
// valid UTF-8, the decoded text is put back as printable(dir).
QByteArray printableMessage(const QString& message, const QByteArray& dir);

// The same as QString, for QJsonDocument.
QString printableText(const QByteArray& bytes);
