#include "ui/forms.h"

namespace hb9cv {

QFont WindowFont(int characterHeight, bool bold) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(characterHeight);
  font.setBold(bold);
  return font;
}

}  // namespace hb9cv
