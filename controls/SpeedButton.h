#pragma once

#include <QPixmap>
#include <QToolButton>

// A flat button drawn on its parent's surface that never takes the keyboard focus. Buttons of
// one parent sharing a non-zero groupIndex latch exclusively: pressing one releases the other,
// pressing the one that is down leaves it down. "Down" in that sense is the checked state; set
// groupIndex before checked, since only a grouped button can latch.
class SpeedButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(QPixmap picture READ picture WRITE setPicture)
    Q_PROPERTY(int groupIndex READ groupIndex WRITE setGroupIndex)

public:
    explicit SpeedButton(QWidget* parent = nullptr);

    QPixmap picture() const { return m_picture; }
    // The picture is transparent in the colour of its bottom-left pixel.
    void setPicture(const QPixmap& picture);
    int groupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index);

private:
    QPixmap m_picture;
    int m_groupIndex = 0;
};
