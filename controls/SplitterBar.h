// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A vertical bar docked left between two panes: dragging it resizes the pane directly to its
// left, live. A pane dragged to kMinPane pixels or less snaps shut, and the fill pane at the right
// always keeps kMinPane pixels.
class SplitterBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMinPane = 30;

    explicit SplitterBar(QWidget* parent = nullptr);

    // The width the pane to the left would get for a requested width, after snap and limit.
    int constrainedWidth(int requested) const;
    QWidget* resizedPane() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void resizePane(int width);

    QWidget* m_pane = nullptr;
    int m_pressX = 0;
    int m_startWidth = 0;
    bool m_dragging = false;
};
