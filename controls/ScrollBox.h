// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollArea>

// A scroll area whose content is exactly as large as its children's extent, kept so after any
// child moves or sizes itself, so scroll bars appear by themselves when the content outgrows it.
class ScrollBox : public QScrollArea
{
    Q_OBJECT

public:
    explicit ScrollBox(QWidget* parent = nullptr);

    // Starts following the content's children; run once the content widget is in place.
    void followContent();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitContent();
};
