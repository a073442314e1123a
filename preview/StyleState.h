// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The values the whole run shares: the current style directory, in the system's 8-bit
// encoding and ending in "/", and the sample windows' sizes as the form made them.
struct StyleState
{
    QByteArray StyleDir;
    int InactiveWidth = 0;
    int InactiveHeight = 0;
    int ActiveWidth = 0;
    int ActiveHeight = 0;

    QByteArray file(const char* name) const { return StyleDir + name; }
};
