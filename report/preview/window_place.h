#pragma once
// Where the program's windows open: centred on their screen.
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace hb9cv {

// Top-left corner that centres a window of `outer` size (frame included) on `screen`.
QPoint CentredPosition(const QRect& screen, const QSize& outer);

// Moves a top-level window so that a frame of `outer` size sits centred on its screen.
void CentreOnScreen(QWidget& window, const QSize& outer);

}  // namespace hb9cv
