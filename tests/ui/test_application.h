#pragma once
// One Application for a whole test executable, made before the first test and destroyed after
// the last, while Qt's own globals still exist; and a recorder that stands in for the error box.
#include <gtest/gtest.h>

#include <memory>

#include "ui/application.h"
#include "ui/error_report.h"

namespace hb9cv {

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "hb9cv_ui_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<Application>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<Application> app_;
};

inline ::testing::Environment* const kApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

inline Application& App() { return *static_cast<Application*>(QCoreApplication::instance()); }

// Records what the error box would have shown while it lives.
class BoxWatch {
 public:
  QStringList titles, texts;

 private:
  ScopedHook<ErrorBox> box_{&SetErrorBox, [this](const QString& title, const QString& text) {
                              titles << title;
                              texts << text;
                            }};
};

}  // namespace hb9cv
