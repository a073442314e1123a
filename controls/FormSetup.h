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

// A font named the X11 way ("adobe-helvetica": foundry, then family) at a pixel height. Where the
// family is missing the font system's stand-in for it is used, and failing that a sans-serif.
QFont x11Font(const QString& name, int pixelSize, bool bold);

} // namespace FormSetup
