// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

// A filled rectangle drawn on its parent's surface.
class Shape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int brushBgr READ brushBgr WRITE setBrushBgr)

public:
    explicit Shape(QWidget* parent = nullptr);

    int brushBgr() const { return m_brushBgr; }
    void setBrushBgr(int bgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_brushBgr = 0xffffff;
};
