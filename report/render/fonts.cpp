#include "report/render/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdio>

namespace hb9cv {

QString MetricCompatibleArial(const QStringList& installedFamilies) {
  for (const char* face : {"Arial", "Liberation Sans", "Arimo"}) {
    if (installedFamilies.contains(QLatin1String(face), Qt::CaseInsensitive))
      return QLatin1String(face);
  }
  return {};
}

void InstallFontSubstitutions() {
  const QString arial = MetricCompatibleArial(QFontDatabase::families());
  if (arial.isEmpty()) {
    // A wider fallback makes the value boxes of the report cover the texts before them.
    static bool warned = false;
    if (!warned) {
      std::fputs(kNoArialWarning, stderr);
      warned = true;
    }
    return;
  }
  // The windows are laid out for "MS Sans Serif", which Linux desktops do not have.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), arial);
  // fontconfig usually aliases Arial already; the explicit substitution covers systems whose
  // configuration does not.
  if (arial != QLatin1String("Arial") &&
      !QFont::substitutes(QStringLiteral("Arial")).contains(arial)) {
    QFont::insertSubstitution(QStringLiteral("Arial"), arial);
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
