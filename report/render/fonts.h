#pragma once
// Fonts and resolution shared by everything that measures or draws report text.
#include <QFont>
#include <QStringList>

#include "report/render/canvas.h"

namespace hb9cv {

// Makes "Arial" resolve to an installed metric-compatible face, so that texts measure as the
// report was laid out, and gives the windows' "MS Sans Serif" the same face. Without any such
// face it says once on standard error which package to install (kNoArialWarning). Call once
// after the QGuiApplication exists (the app and the tests do).
void InstallFontSubstitutions();

// "Arial" when it is installed, else the first installed of its metric-compatible twins
// ("Liberation Sans", "Arimo"); empty when there is none.
QString MetricCompatibleArial(const QStringList& installedFamilies);

inline constexpr char kNoArialWarning[] =
    "hb9cv: no font with the metrics of Arial is installed; texts of the report may not fit their "
    "boxes. Install the package fonts-liberation.\n";

// The logical pixels per inch of the primary screen; 96 when there is no screen.
int ScreenPixelsPerInch();

// The font a canvas of `dpi` pixels per inch (vertical) realises for `font`: the character
// height is the point size scaled to the device and rounded half away from zero, as the
// printer drivers do, and kerning is off, so that widths are the sums of the glyph advances.
QFont RealiseFont(const CanvasFont& font, int dpi);

}  // namespace hb9cv
