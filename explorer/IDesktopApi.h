// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The desktop's services as the program sees them: one operation that runs a command line.
// The second argument is reserved and always passed as zero.
class IDesktopApi
{
public:
    virtual ~IDesktopApi() = default;
    virtual void RunCommand(const QByteArray& commandLine, int reserved) = 0;
};
