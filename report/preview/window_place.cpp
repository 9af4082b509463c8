#include "report/preview/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace hb9cv {

QPoint CentredPosition(const QRect& screen, const QSize& outer) {
  return {screen.left() + (screen.width() - outer.width()) / 2,
          screen.top() + (screen.height() - outer.height()) / 2};
}

void CentreOnScreen(QWidget& window, const QSize& outer) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  window.move(CentredPosition(screen->geometry(), outer));
}

}  // namespace hb9cv
