// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/AppLook.h"

#include <QApplication>

// The application an in-process bench runs in: offscreen unless a platform is chosen, and set up
// as both programs set theirs up, so the figures are the programs' own.
class OffscreenApplication
{
public:
    OffscreenApplication(int& argc, char** argv)
        : m_app((prepare(), argc), argv)
    {
        applyApplicationLook();
    }

private:
    static void prepare()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        prepareApplication();
    }

    QApplication m_app;
};
