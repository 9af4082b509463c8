// The compute command as the user triggers it: the field's text converted, the dimensions
// computed and written into the window's labels and the report's captions.
#include <benchmark/benchmark.h>

#include "calc/number_text.h"
#include "report/print_form.h"
#include "ui/main_form.h"

namespace {

void BM_Potej1Click(benchmark::State& state) {
  hb9cv::TForm1 form;
  hb9cv::TPrintForm report;
  form.SetReport(&report);
  form.SetFieldText(QStringLiteral("0145,000"));
  for (auto _ : state) {
    form.Potej1Click();
  }
}
BENCHMARK(BM_Potej1Click)->Unit(benchmark::kMicrosecond);

void BM_Nov1Click(benchmark::State& state) {
  hb9cv::TForm1 form;
  hb9cv::TPrintForm report;
  form.SetReport(&report);
  for (auto _ : state) {
    form.Nov1Click();
  }
}
BENCHMARK(BM_Nov1Click)->Unit(benchmark::kMicrosecond);

}  // namespace
