#include "report/fonts.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace hb9cv {

void InstallFontSubstitutions() {
  // The windows are laid out for "MS Sans Serif", which Linux desktops do not have.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  // fontconfig usually aliases Arial already; the explicit substitution covers systems
  // whose configuration does not.
  if (!QFont::substitutes(QStringLiteral("Arial")).contains(QStringLiteral("Liberation Sans"))) {
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  }
}

int ScreenPixelsPerInch() {
  if (qGuiApp == nullptr) return 96;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 96;
  const int dpi = static_cast<int>(std::lround(screen->logicalDotsPerInchY()));
  return dpi > 0 ? dpi : 96;
}

QFont RealiseFont(const CanvasFont& font, int dpi) {
  QFont result(font.family);
  const long pixels = std::lround(font.pointSize * dpi / 72.0);
  result.setPixelSize(static_cast<int>(std::max(1L, pixels)));
  result.setBold(font.bold);
  result.setItalic(font.italic);
  result.setUnderline(font.underline);
  result.setStrikeOut(font.strikeOut);
  result.setKerning(false);
  return result;
}

}  // namespace hb9cv
