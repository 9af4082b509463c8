// The one Qt start-up of the test executables: the application object exists before the first
// test and goes after the last. The report's tests get the fonts the page is measured with and
// the comma the Czech page is written with; the windows' tests get the program's own
// Application, which sets those up as the program does.
#include <gtest/gtest.h>

#ifdef HB9CV_TEST_PROGRAM_APPLICATION
#include "ui/application.h"
#else
#include <QApplication>

#include "calc/number_text.h"
#include "report/render/fonts.h"
#endif

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
#ifdef HB9CV_TEST_PROGRAM_APPLICATION
  hb9cv::Application app(argc, argv);
#else
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("HB9CV"));
  hb9cv::InstallFontSubstitutions();
  hb9cv::SetDecimalSeparator(',');
#endif
  return RUN_ALL_TESTS();
}
