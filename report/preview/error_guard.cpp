#include "report/preview/error_guard.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <exception>

#include "calc/errors.h"

namespace hb9cv {
namespace {

// Without the program's error box: the message alone, so that nothing is lost.
void PlainBox() noexcept {
  try {
    QString text;
    try {
      throw;
    } catch (const Exception& e) {
      text = QString::fromStdString(e.Message());
    } catch (const std::exception& e) {
      text = QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    QMessageBox::critical(nullptr, QGuiApplication::applicationDisplayName(), text);
  } catch (...) {
  }
}

ExceptionHandler g_handler = nullptr;

}  // namespace

ExceptionHandler SetExceptionHandler(ExceptionHandler handler) {
  return std::exchange(g_handler, handler);
}

void HandleException() noexcept {
  (g_handler != nullptr ? g_handler : &PlainBox)();
}

}  // namespace hb9cv
