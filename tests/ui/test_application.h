#pragma once
// The program's Application of a test executable (made by tests/qt_test_main.cpp), and a
// recorder that stands in for the error box.
#include "ui/application.h"
#include "ui/error_report.h"

namespace hb9cv {

inline Application& App() {
  return *static_cast<Application*>(QCoreApplication::instance());
}

// Records what the error box would have shown while it lives.
struct BoxWatch : ErrorBox {
  void Show(const QString& title, const QString& text) override {
    titles << title;
    texts << text;
  }
  QStringList titles, texts;
  ScopedHook<ErrorBox*> box{&SetErrorBox, this};
};

}  // namespace hb9cv
