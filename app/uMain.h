// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandLine.h"
#include "controls/ImageList.h"
#include "explorer/BitmapPane.h"
#include "preview/PreviewPanel.h"
#include "preview/SampleWindowView.h"
#include "preview/StyleState.h"
#include "ui_uMain.h"

#include <QMainWindow>
#include <QSet>
#include <QString>

class IDesktopApi;
class QLabel;
class QMimeData;
class StyleWatch;

// The program's one window. Every control of the form is a member under its own name; the
// handlers are named after control and event and delegate to preview/ and explorer/. The controls
// of the preview panel (Panel6) are members under their own names too.
class TfrmMain : public QMainWindow, public Ui::TfrmMain, public Ui::PreviewPanel
{
    Q_OBJECT

public:
    // desktop may be null (nothing is handed off). programDir, with its trailing "/", is where
    // "help.htm" and "Luna.uis" are read from; empty means the running executable's directory.
    // start carries the style directories given as arguments and whether to watch the style.
    explicit TfrmMain(IDesktopApi* desktop, const QString& programDir = {},
        QWidget* parent = nullptr, const StartOptions& start = {});
    ~TfrmMain() override;

    const StyleState& state() const { return Panel6->state(); }
    const ImageList& imageList1() const { return ImageList1; }
    const ImageList& imageList2() const { return ImageList2; }
    const ImageList& imageList3() const { return ImageList3; }
    BitmapPaneView bitmapPaneView() const;
    SampleWindowView inactiveView() const;
    SampleWindowView activeView() const;

    // The program directory: the running executable's directory, with its trailing "/".
    static QString executableDir();

    // The watch of the shown style and the status line of its passes; both null without --watch.
    StyleWatch* styleWatch() const { return m_watch; }
    QLabel* watchStatus() const { return m_watchStatus; }

    // The style directory a drag carries (a local folder, or the folder of a local file), as the
    // style box would hold it; empty when the drag carries nothing the window takes.
    static QString droppedStyleDir(const QMimeData* mime);

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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Puts dir at the top of the style box, once: an equal item leaves its place for it.
    void placeStyleDir(const QString& dir);
    bool takeDrag(QEvent* event);
    void styleSettled(const QStringList& changedFiles);
    void runWatchedPass();
    void refreshBitmapPane();
    void setWatchStatus(const QString& text);

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
    StyleWatch* m_watch = nullptr;
    QLabel* m_watchStatus = nullptr;
    // Files changed since the last watched pass, kept while a message box holds the pass back.
    QSet<QString> m_changedFiles;
    bool m_passDue = false;
};
