// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>

// The one widget behind every image of the window: a picture with the auto-size, stretch and
// transparent flags, the mouse events the handlers need, and the file its picture came from.
class ImageControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString designFile READ designFile WRITE setDesignFile)
    Q_PROPERTY(bool autoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(bool stretch READ stretch WRITE setStretch)
    Q_PROPERTY(bool transparent READ transparent WRITE setTransparent)

public:
    explicit ImageControl(QWidget* parent = nullptr);

    const QImage& picture() const { return m_picture; }
    // Replaces the picture; an auto-sized image takes its size here, at once, because the next
    // step of a load pass reads it. sourcePath is the file the picture was read from, if any.
    void setPicture(const QImage& picture, const QByteArray& sourcePath = {});
    // Reads the file with the program's bitmap reader; on failure throws and keeps the picture.
    void loadFromFile(const QByteArray& path);
    // Paints over the image's own bitmap, honouring the painted picture's alpha, clipped to the
    // bitmap, without clearing it first. The result is a composed picture: it has no file.
    void paintOver(const QImage& overlay, QPoint at = {});

    const QByteArray& sourcePath() const { return m_sourcePath; }

    // The form's picture, one of the program's own resources; like every composed picture it
    // records no file, so nothing offers it for editing.
    QString designFile() const { return m_designFile; }
    void setDesignFile(const QString& resource);

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    bool stretch() const { return m_stretch; }
    void setStretch(bool on);
    bool transparent() const { return m_transparent; }
    void setTransparent(bool on);

    // What the image draws: the picture with the colour key applied when transparent.
    const QImage& displayedPicture() const { return m_display; }

signals:
    void mouseMoved();
    void mouseLeft();
    void mousePressed();
    void mouseReleased();
    // Emitted before mouseReleased, as the toolkit orders them: not for the right button, and
    // only when the release lies inside the image.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void pictureChanged();
    void applyAutoSize();

    QImage m_picture;
    QImage m_display;
    QByteArray m_sourcePath;
    QString m_designFile;
    bool m_autoSize = false;
    bool m_stretch = false;
    bool m_transparent = false;
};
