#include "ui/application.h"

#include <QCloseEvent>
#include <QWidget>

#include "calc/number_text.h"
#include "report/preview/error_guard.h"
#include "report/render/fonts.h"
#include "resources/drawing.h"
#include "ui/error_report.h"

namespace hb9cv {
namespace {

// The desktop's notices that the user's settings may have changed.
bool IsSettingsNotice(const QObject* receiver, const QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::LocaleChange && type != QEvent::ThemeChange) return false;
  // Qt forwards these to every widget; one reading per notice is enough.
  return receiver == qApp || receiver->isWindowType();
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QString::fromLatin1(kApplicationTitle));
  // Desktops that match windows to their desktop entry by name (Wayland) find its icon there.
  setDesktopFileName(QStringLiteral(HB9CV_APP_ID));
  setWindowIcon(AppIcon());
  InstallFontSubstitutions();
  InstallQtTranslation();
  // The preview window's handlers report their errors through the same box.
  SetExceptionHandler(&ErrorBoxReporting());
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    if (IsSettingsNotice(receiver, event)) ReadFormatSettings();
    const bool result = QApplication::notify(receiver, event);
    if (event->type() == QEvent::Close && receiver == mainForm_ && mainForm_ != nullptr &&
        event->isAccepted()) {
      quit();
    }
    return result;
  } catch (...) {
    HandleException();
    return false;
  }
}

}  // namespace hb9cv
