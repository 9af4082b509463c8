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
struct BoxWatch {
  QStringList titles, texts;
  ScopedHook<ErrorBox> box{&SetErrorBox, [this](const QString& title, const QString& text) {
                             titles << title;
                             texts << text;
                           }};
};

}  // namespace hb9cv
