// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>
#include <QToolButton>

// A flat button drawn on its parent's surface that never takes the keyboard focus. Buttons of
// one parent sharing a non-zero groupIndex latch exclusively: pressing one releases the other,
// pressing the one that is down leaves it down. "Down" in that sense is the checked state; set
// groupIndex before checked, since only a grouped button can latch.
class SpeedButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(QString pictureFile READ pictureFile WRITE setPictureFile)
    Q_PROPERTY(int groupIndex READ groupIndex WRITE setGroupIndex)

public:
    explicit SpeedButton(QWidget* parent = nullptr);

    QPixmap picture() const { return m_picture; }
    // The picture is transparent in the colour of its bottom-left pixel.
    void setPicture(const QPixmap& picture);
    // The form names one of the program's own resources.
    QString pictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString& resource);
    int groupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index);

private:
    QPixmap m_picture;
    QString m_pictureFile;
    int m_groupIndex = 0;
};
