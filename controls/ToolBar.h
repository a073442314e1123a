// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A plain tool bar strip with an etched edge along its top and bottom. It holds its buttons at
// their own positions; it is not one of the main window's movable tool bars, so nothing can
// hide or move it.
class ToolBar : public QWidget
{
    Q_OBJECT

public:
    explicit ToolBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
