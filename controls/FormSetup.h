// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

class QString;
class QWidget;

// What a Designer form cannot say by itself, applied once after setupUi() at the design size:
// the colours stored as 0x00BBGGRR in the "bgr" property, the stacking of graphic children,
// the speed-button groups and the dock layouts.
namespace FormSetup {

void apply(QWidget* root);

void applyColours(QWidget* root);
// Images, speed buttons, splitters and shapes are drawn on the parent's surface: every other kind
// of sibling lies above all of them, each kind keeping its creation order.
void applyStacking(QWidget* root);
void groupSpeedButtons(QWidget* root);
bool isGraphic(const QWidget* widget);

// Lays a window that has not been shown yet out at its present size, top down, as showing it
// would. Showing it then changes no size, so whatever lays itself out anew on each resize (a
// text view above all) does so once, at the size it is seen at.
void settleGeometry(QWidget* window);

// A font named the X11 way ("adobe-helvetica": foundry, then family) at a pixel height. Where the
// family is missing the font system's stand-in for it is used, as for any other font.
QFont x11Font(const QString& name, int pixelSize, bool bold);

} // namespace FormSetup
