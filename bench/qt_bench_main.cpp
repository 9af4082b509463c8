// The main() of every benchmark: a Qt application on the offscreen platform (unless one is
// given), the report's fonts, then Google Benchmark with the remaining arguments.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "calc/number_text.h"
#include "report/render/fonts.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  hb9cv::ReadFormatSettings();
  int qt_argc = 1;
  QApplication app(qt_argc, argv);
  hb9cv::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
