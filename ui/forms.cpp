#include "ui/forms.h"

namespace hb9cv {

QFont WindowFont(int character_height, bool bold) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(character_height);
  font.setBold(bold);
  return font;
}

}  // namespace hb9cv
