#pragma once
// Shared by the page-picture tests: the application, a sample page drawn through the Canvas
// interface, the report page after 145 MHz, and recording/rendering/comparing helpers.
#include <QApplication>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <optional>
#include <vector>

#include "calc/dimensions.h"
#include "calc/number_text.h"
#include "report/emf_player.h"
#include "report/emf_recorder.h"
#include "report/fonts.h"
#include "report/print_form.h"
#include "report/qpainter_canvas.h"
#include "report/qr_device.h"
#include "resources/drawing.h"

namespace hb9cv {
// Shows a page picture in test failures by its size and a checksum, not its object bytes.
inline void PrintTo(const Metafile& m, std::ostream* os) {
  *os << "Metafile(" << m.Size() << " bytes, crc " << qChecksum(m.Bytes()) << ")";
}
}  // namespace hb9cv

namespace hb9cv::emftest {

inline void EnsureApp() {
  static int argc = 1;
  static char arg0[] = "emf_test";
  static char* argv[] = {arg0, nullptr};
  static QApplication* app = [] {
    auto* created = new QApplication(argc, argv);
    InstallFontSubstitutions();
    return created;
  }();
  (void)app;
}

// An A4 page at 96 pixels per inch.
inline constexpr int kDpi = 96;
inline const QSize kPagePixels(794, 1123);
inline const QSize kPaper(21000, 29700);  // 0.01 mm

using PageFn = std::function<void(Canvas&)>;

inline CanvasFont Arial(double points, bool bold = false, bool underline = false) {
  CanvasFont f;
  f.family = QStringLiteral("Arial");
  f.pointSize = points;
  f.bold = bold;
  f.underline = underline;
  return f;
}

// Everything a report page uses: texts in 6 to 16 point with Czech letters, white and coloured
// fills, a clipped picture and an unclipped stretched one.
inline void DrawSamplePage(Canvas& c) {
  c.FillRect({38, 38, 756, 1086}, Qt::white);
  c.SetFont(Arial(16, true, true));
  c.TextOut(180, 56, QString::fromUtf8("Výpočet rozměrů antény typu HB9CV"));
  c.SetFont(Arial(10));
  c.TextOut(272, 93, QString::fromUtf8("pro střední kmitočet :"));
  c.TextOut(412, 93, QStringLiteral("145 MHz"));
  const QImage drawing = AntennaDrawing(DrawingBackground::White);
  c.SetClipRect({83, 265, 715, 620});
  c.StretchDraw({83, 265, 715, 620}, drawing);
  c.ClearClip();
  c.SetFont(Arial(8));
  const int w = c.TextWidth(QString::fromUtf8("Průměr 2,89 až 5,17 mm"));
  c.FillRect({170, 319, 170 + w, 319 + 17}, Qt::white);
  c.TextOut(170, 319, QString::fromUtf8("Průměr 2,89 až 5,17 mm"));
  c.FillRect({372, 260, 372 + c.TextWidth(QStringLiteral("951,7 mm")), 275}, Qt::white);
  c.TextOut(372, 260, QStringLiteral("951,7 mm"));
  c.SetFont(Arial(8, true));
  c.TextOut(534, 312, QStringLiteral("x"));
  c.SetFont(Arial(9));
  c.TextOut(98, 645, QString::fromUtf8("Impedance koaxiálu je 75 Ohmů, v případě použití koaxiálu s impedancí 50 Ohmů se PSV může"));
  c.FillRect({98, 700, 300, 720}, QColor(200, 30, 40));
  c.SetClipRect({100, 740, 160, 760});
  c.FillRect({90, 730, 400, 800}, QColor(20, 90, 200));
  c.SetFont(Arial(6));
  c.TextOut(102, 742, QStringLiteral("Kvetorad clipped text beyond"));
  c.ClearClip();
  c.StretchDraw({500, 700, 658, 789}, drawing);  // scaled down to a quarter
  c.TextOut(86, 1068, QStringLiteral("Kvetorad"));
}

// Records a page with the given drawing as the page recorder does for a preview.
inline Metafile RecordPage(const PageFn& draw) {
  EmfRecorder recorder(kPagePixels, kPaper, kDpi, kDpi);
  draw(recorder);
  return recorder.Finish();
}

// Draws the same page straight onto an image through the QPainter canvas.
inline QImage RenderDirect(const PageFn& draw) {
  QImage image(kPagePixels, QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(kDpi / 0.0254));
  image.setDotsPerMeterY(qRound(kDpi / 0.0254));
  image.fill(Qt::white);
  QPainter painter(&image);
  QPainterCanvas canvas(painter, kDpi, kDpi);
  draw(canvas);
  painter.end();
  return image;
}

// Builds the report onto page pictures, as a preview build does.
class EmfPageDevice : public QRDevice {
 public:
  explicit EmfPageDevice(int dpi = kDpi) : dpi_(dpi) {}
  long double XFactor() const override { return FactorForDpi(dpi_); }
  long double YFactor() const override { return FactorForDpi(dpi_); }
  int LeftOffset() const override { return 0; }
  int TopOffset() const override { return 0; }
  long double PaperWidth() const override { return 2100; }
  long double PaperLength() const override { return 2970; }
  void BeginDoc() override { pages.clear(); }
  void NewPage() override {
    Close();
    recorder_ = std::make_unique<EmfRecorder>(QSize(XSize(2100), YSize(2970)), kPaper, dpi_, dpi_);
  }
  void EndDoc() override { Close(); }
  void Abort() override { Close(); }
  Canvas& PageCanvas() override { return *recorder_; }

  std::vector<Metafile> pages;

 private:
  void Close() {
    if (recorder_) pages.push_back(recorder_->Finish());
    recorder_.reset();
  }
  int dpi_;
  std::unique_ptr<EmfRecorder> recorder_;
};

// The report form with the captions a computation of 145 MHz gives it.
inline std::unique_ptr<TPrintForm> FormAfter145MHz() {
  auto form = std::make_unique<TPrintForm>();
  SetDecimalSeparator(',');  // the Czech locale the page is written for
  const DimensionSet d = ComputeDimensions(145.0);
  auto set = [&form](ReportValue which, const std::string& text) {
    form->SetCaption(which, QString::fromStdString(text));
  };
  set(ReportValue::Frequency, d.frequency_text);
  set(ReportValue::Z, d.Z_text);
  set(ReportValue::R, d.R_text);
  set(ReportValue::RZ, d.RZ_text);
  set(ReportValue::x, d.x_text);
  set(ReportValue::Tz, d.Tz_text);
  set(ReportValue::Tr, d.Tr_text);
  set(ReportValue::Q, d.diameter_text);
  return form;
}

inline Metafile RecordReportPage(TCustomReport& report) {
  EmfPageDevice device;
  report.Generate(device);
  return device.pages.empty() ? Metafile() : device.pages.front();
}

struct ImageDiff {
  int maxChannel = 0;     // largest difference of one colour channel
  qint64 differing = 0;   // pixels that differ by more than the threshold in some channel
  double meanChannel = 0; // mean absolute channel difference
};

inline ImageDiff Compare(const QImage& a0, const QImage& b0, int threshold = 0) {
  ImageDiff d;
  const QImage a = a0.convertToFormat(QImage::Format_RGB32);
  const QImage b = b0.convertToFormat(QImage::Format_RGB32);
  if (a.size() != b.size()) {
    d.maxChannel = 255;
    d.differing = -1;
    return d;
  }
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      const int dr = std::abs(qRed(pa[x]) - qRed(pb[x]));
      const int dg = std::abs(qGreen(pa[x]) - qGreen(pb[x]));
      const int db = std::abs(qBlue(pa[x]) - qBlue(pb[x]));
      const int m = std::max({dr, dg, db});
      d.maxChannel = std::max(d.maxChannel, m);
      if (m > threshold) ++d.differing;
      sum += dr + dg + db;
    }
  }
  d.meanChannel = sum / (3.0 * a.width() * a.height());
  return d;
}

// Dark pixels (ink) inside a rectangle of an image.
inline int InkIn(const QImage& image, const QRect& r, int level = 128) {
  int n = 0;
  const QRect area = r.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < level) ++n;
    }
  }
  return n;
}

// Where the output of a test goes for a person to look at.
inline QString ArtifactPath(const QString& name) {
  const QByteArray dir = qgetenv("HB9CV_TEST_ARTIFACTS");
  return dir.isEmpty() ? QString() : QString::fromLocal8Bit(dir) + QLatin1Char('/') + name;
}

inline void SaveArtifact(const QImage& image, const QString& name) {
  const QString path = ArtifactPath(name);
  if (!path.isEmpty()) image.save(path);
}

}  // namespace hb9cv::emftest
