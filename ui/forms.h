#pragma once
// What the program's windows share: their fonts and their place on the screen.
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace hb9cv {

// The windows' font, "MS Sans Serif", with the character height in pixels (at 96 dpi; Qt scales
// pixel sizes with the screen). InstallFontSubstitutions() maps the family onto an installed one.
QFont WindowFont(int character_height, bool bold = false);

// Top-left corner that centres a window of `outer` size (frame included) on `screen`.
QPoint CentredPosition(const QRect& screen, const QSize& outer);

// Moves a top-level window so that a frame of `outer` size sits centred on its screen.
void CentreOnScreen(QWidget& window, const QSize& outer);

}  // namespace hb9cv
