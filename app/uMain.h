// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ImageList.h"
#include "explorer/BitmapPane.h"
#include "preview/PreviewPanel.h"
#include "preview/SampleWindowView.h"
#include "preview/StyleState.h"
#include "ui_uMain.h"

#include <QMainWindow>
#include <QString>

class IDesktopApi;

// The program's one window. Every control of the form is a member under its own name; the
// handlers are named after control and event and delegate to preview/ and explorer/. The controls
// of the preview panel (Panel6) are members under their own names too.
class TfrmMain : public QMainWindow, public Ui::TfrmMain, public Ui::PreviewPanel
{
    Q_OBJECT

public:
    // desktop may be null (nothing is handed off). programDir, with its trailing "/", is where
    // "help.htm" and "Luna.uis" are read from; empty means the running executable's directory.
    explicit TfrmMain(
        IDesktopApi* desktop, const QString& programDir = {}, QWidget* parent = nullptr);

    const StyleState& state() const { return Panel6->state(); }
    const ImageList& imageList1() const { return ImageList1; }
    const ImageList& imageList2() const { return ImageList2; }
    const ImageList& imageList3() const { return ImageList3; }
    BitmapPaneView bitmapPaneView() const;
    SampleWindowView inactiveView() const;
    SampleWindowView activeView() const;

    // The program directory: the running executable's directory, with its trailing "/".
    static QString executableDir();

    void FormCreate();
    void FormShow();
    void Exit1Click();
    void Button1Click();
    void ivObjectsSelectItem();
    void CreateWindowTree();
    void captionbar_inactiveClick();
    void imgActualClick();
    void ActiveGlyphMinimizeMouseMove();
    void ActiveGlyphMinimizeMouseLeave();
    void ActiveGlyphMinimizeMouseDown();
    void ActiveGlyphMinimizeMouseUp();
    void ActiveGlyphMinimizeClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void finishForm();
    void applyFonts();
    void connectHandlers();
    void loadHelp(const QString& programDir);
    void loadCode(const QString& programDir);

    template<typename Sender, typename Signal>
    void bind(Sender* sender, Signal signal, void (TfrmMain::*handler)());

    ImageList ImageList1;
    ImageList ImageList2;
    ImageList ImageList3;
    IDesktopApi* m_desktop = nullptr;
    QString m_programDir;
    bool m_shown = false;
};
