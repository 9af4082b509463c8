#pragma once
// One TApplication for a whole test executable, made before the first test and destroyed after
// the last, while Qt's own globals still exist.
#include <gtest/gtest.h>

#include <memory>

#include "ui/error_report.h"

namespace hb9cv {

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "hb9cv_ui_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<TApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<TApplication> app_;
};

inline ::testing::Environment* const kApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

inline TApplication& App() { return *static_cast<TApplication*>(QCoreApplication::instance()); }

}  // namespace hb9cv
