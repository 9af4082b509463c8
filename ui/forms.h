#pragma once
// What the program's windows share: their font.
#include <QFont>

namespace hb9cv {

// The windows' font, "MS Sans Serif", with the character height in pixels (at 96 dpi; Qt scales
// pixel sizes with the screen). InstallFontSubstitutions() maps the family onto an installed one.
QFont WindowFont(int characterHeight, bool bold = false);

}  // namespace hb9cv
