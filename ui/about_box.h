#pragma once
// "O &aplikaci": name, version, purpose, licence, and what the program is built on.
#include <QString>

class QWidget;

namespace hb9cv {

// The box's text (HTML); `nec2cFound` says whether the engine is installed.
QString AboutText(bool nec2cFound);
void ShowAboutBox(QWidget* owner);

}  // namespace hb9cv
