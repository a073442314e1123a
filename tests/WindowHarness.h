// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ErrorReport.h"
#include "app/uMain.h"
#include "controls/AppLook.h"
#include "explorer/IDesktopApi.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// Records what the window hands to the desktop instead of starting anything.
class RecordingDesktop : public IDesktopApi
{
public:
    void RunCommand(const QByteArray& commandLine, int reserved) override
    {
        commands.append(commandLine);
        reservedArguments.append(reserved);
    }

    QList<QByteArray> commands;
    QList<int> reservedArguments;
};

// A main window with its error box swapped for a recorder and its program files in a
// temporary directory, so nothing outside it is read but the style box's own paths.
class WindowHarness
{
public:
    WindowHarness()
    {
        static const bool looked = (applyApplicationLook(), true);
        Q_UNUSED(looked);
        for (const char* name : { "help.htm", "Luna.uis" }) {
            QFile file(m_programDir.filePath(QString::fromLatin1(name)));
            file.open(QIODevice::WriteOnly);
            file.write("<p>x</p>\n");
        }
        m_previous
            = ErrorReport::setPresenter([this](const QString& text) { reports.append(text); });
        frm = std::make_unique<TfrmMain>(&desktop, m_programDir.path() + QLatin1Char('/'));
    }

    ~WindowHarness()
    {
        frm.reset();
        ErrorReport::setPresenter(m_previous);
    }

    // Picks the directory in the style box the way a user would, which runs the load pass.
    void chooseStyle(const QString& dir)
    {
        int index = frm->cboPaths->findText(dir);
        if (index < 0) {
            frm->cboPaths->addItem(dir);
            index = frm->cboPaths->count() - 1;
        }
        if (frm->cboPaths->currentIndex() == index)
            frm->Button1->click();
        else
            frm->cboPaths->setCurrentIndex(index);
    }

    RecordingDesktop desktop;
    QStringList reports;
    std::unique_ptr<TfrmMain> frm;

private:
    QTemporaryDir m_programDir;
    ErrorReport::Presenter m_previous;
};
