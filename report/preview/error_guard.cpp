#include "report/preview/error_guard.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <exception>

#include "calc/errors.h"

namespace hb9cv {
namespace {

// Without the program's error box: the message alone, so that nothing is lost.
class PlainBox final : public ExceptionHandler {
 public:
  void Report() noexcept override {
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
};

ExceptionHandler* gHandler = nullptr;

}  // namespace

ExceptionHandler* SetExceptionHandler(ExceptionHandler* handler) {
  return std::exchange(gHandler, handler);
}

void HandleException() noexcept {
  static PlainBox plain;
  (gHandler != nullptr ? *gHandler : plain).Report();
}

}  // namespace hb9cv
