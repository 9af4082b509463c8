// Building the report page and rendering it at screen and printer resolution.
#include <benchmark/benchmark.h>

#include "report/model/qr_device.h"
#include "report/print_form.h"
#include "report/render/fonts.h"

namespace hb9cv {
namespace {

void SetCaptions(TPrintForm& form) {
  // clang-format off
  const std::pair<ValueId, const char*> captions[] = {
      {ValueId::Frequency, "145 MHz"}, {ValueId::Z, "951,7 mm"},
      {ValueId::R, "1036,5 mm"},       {ValueId::RZ, "258,6 mm"},
      {ValueId::x, "20,6 mm"},         {ValueId::Tz, "130,3 mm"},
      {ValueId::Tr, "140,6 mm"},       {ValueId::Diameter, "Průměr 2,89 až 5,17 mm"},
  };
  // clang-format on
  for (const auto& [which, text] : captions) form.SetCaption(which, QString::fromUtf8(text));
}

// The report form as start-up makes it.
void BM_CreatePrintForm(benchmark::State& state) {
  for (auto _ : state) {
    TPrintForm form;
    benchmark::DoNotOptimize(form.QRLabel1);
  }
}
BENCHMARK(BM_CreatePrintForm)->Unit(benchmark::kMicrosecond);

// What a computation costs the report: eight captions, each formatted at once.
void BM_SetCaptions(benchmark::State& state) {
  TPrintForm form;
  for (auto _ : state) SetCaptions(form);
}
BENCHMARK(BM_SetCaptions)->Unit(benchmark::kMicrosecond);

// The report pass onto a device that draws nothing: the layout work alone.
class NullCanvas : public Canvas {
 public:
  int DpiX() const override { return 96; }
  int DpiY() const override { return 96; }
  void SetFont(const CanvasFont&) override {}
  int TextWidth(const QString& text) override { return 6 * static_cast<int>(text.size()); }
  int TextHeight(const QString&) override { return 15; }
  void TextOut(int, int, const QString&) override {}
  void FillRect(const DeviceRect&, const QColor&) override {}
  void SetClipRect(const DeviceRect&) override {}
  void ClearClip() override {}
  void StretchDraw(const DeviceRect&, const QImage&) override {}
};

class NullDevice : public QRDevice {
 public:
  Float80 XFactor() const override { return FactorForDpi(96); }
  Float80 YFactor() const override { return FactorForDpi(96); }
  int LeftOffset() const override { return 0; }
  int TopOffset() const override { return 0; }
  Float80 PaperWidth() const override { return 2100; }
  Float80 PaperLength() const override { return 2970; }
  void BeginDoc() override {}
  void NewPage() override {}
  void EndDoc() override {}
  void Abort() override {}
  Canvas& PageCanvas() override { return canvas_; }

 private:
  NullCanvas canvas_;
};

void BM_BuildPage(benchmark::State& state) {
  TPrintForm form;
  SetCaptions(form);
  NullDevice device;
  for (auto _ : state) form.Report1.Generate(device);
}
BENCHMARK(BM_BuildPage)->Unit(benchmark::kMicrosecond);

void BM_RenderPage(benchmark::State& state) {
  TPrintForm form;
  SetCaptions(form);
  const Float80 factor = FactorForDpi(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QImage page = RenderReportPage(form.Report1, factor, factor);
    benchmark::DoNotOptimize(page.constBits());
  }
}
BENCHMARK(BM_RenderPage)->Arg(96)->Arg(600)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hb9cv
