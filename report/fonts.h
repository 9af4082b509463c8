#pragma once
// Fonts and resolution shared by everything that measures or draws report text.
#include <QFont>

#include "report/canvas.h"

namespace hb9cv {

// Makes "Arial" resolve to its metric-compatible free twin, so that texts measure as the
// report was laid out, and gives the windows' "MS Sans Serif" an installed sans font. Call once after the QGuiApplication exists (the app and the tests do).
void InstallFontSubstitutions();

// The logical pixels per inch of the primary screen; 96 when there is no screen.
int ScreenPixelsPerInch();

// The font a canvas of `dpi` pixels per inch (vertical) realises for `font`: the character
// height is the point size scaled to the device and rounded half away from zero, as the
// printer drivers do, and kerning is off, so that widths are the sums of the glyph advances.
QFont RealiseFont(const CanvasFont& font, int dpi);

}  // namespace hb9cv
