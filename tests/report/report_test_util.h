#pragma once
// Shared by the report tests: the application, and a device that renders A4 pages into images
// while recording its own calls and the drawing calls of every page.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calc/number_text.h"
#include "report/model/qr_device.h"
#include "report/print_form.h"
#include "report/render/fonts.h"
#include "report/render/qpainter_canvas.h"

namespace hb9cv::test {

struct CanvasOp {
  enum Kind { Text, Fill, Picture } kind;
  DeviceRect rect{};
  int x = 0;
  int y = 0;
  QString text{};
  CanvasFont font{};
  QColor color{};
};

// `factor` device pixels per stored unit in both directions; calls are "begin", "page",
// "end", "abort".
class TestDevice : public QRDevice, public Canvas {
 public:
  struct Page {
    QImage image;
    std::vector<CanvasOp> ops;
  };
  explicit TestDevice(Float80 factor, int leftOffset = 0, int topOffset = 0)
      : factor_(factor), left_(leftOffset), top_(topOffset) {}
  ~TestDevice() override { Close(); }

  Float80 XFactor() const override { return factor_; }
  Float80 YFactor() const override { return factor_; }
  int LeftOffset() const override { return left_; }
  int TopOffset() const override { return top_; }
  Float80 PaperWidth() const override { return 2100; }
  Float80 PaperLength() const override { return 2970; }
  void BeginDoc() override { calls.push_back("begin"); }
  void NewPage() override {
    calls.push_back("page");
    Close();
    const int dpi = QRRound(factor_ * 254);
    QImage& image = pages.emplace_back().image;
    image = QImage(XSize(2100), YSize(2970), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    painter_.begin(&image);
    inner_.emplace(painter_, dpi, dpi);
    if (onNewPage) onNewPage();
  }
  void EndDoc() override {
    calls.push_back("end");
    Close();
  }
  void Abort() override {
    calls.push_back("abort");
    Close();
  }
  Canvas& PageCanvas() override { return *this; }

  int DpiX() const override { return inner_->DpiX(); }
  int DpiY() const override { return inner_->DpiY(); }
  void SetFont(const CanvasFont& font) override {
    font_ = font;
    inner_->SetFont(font);
  }
  int TextWidth(const QString& text) override { return int(inner_->TextWidth(text) * widen); }
  int TextHeight(const QString& text) override { return inner_->TextHeight(text); }
  void TextOut(int x, int y, const QString& text) override {
    // A text's rect is the extent it covers, as measured on this device.
    const DeviceRect extent{x, y, x + TextWidth(text), y + inner_->TextHeight(text)};
    Ops().push_back(
        {.kind = CanvasOp::Text, .rect = extent, .x = x, .y = y, .text = text, .font = font_});
    inner_->TextOut(x, y, text);
  }
  void FillRect(const DeviceRect& rect, const QColor& color) override {
    Ops().push_back({.kind = CanvasOp::Fill, .rect = rect, .color = color});
    inner_->FillRect(rect, color);
  }
  void SetClipRect(const DeviceRect& rect) override { inner_->SetClipRect(rect); }
  void ClearClip() override { inner_->ClearClip(); }
  void StretchDraw(const DeviceRect& target, const QImage& picture) override {
    Ops().push_back({.kind = CanvasOp::Picture, .rect = target});
    inner_->StretchDraw(target, picture);
  }

  std::vector<std::string> calls;
  std::vector<Page> pages;
  std::function<void()> onNewPage;
  double widen = 1;  // how much wider than measured text is taken to run on this device

 private:
  std::vector<CanvasOp>& Ops() { return pages.back().ops; }
  void Close() {
    inner_.reset();
    if (painter_.isActive()) painter_.end();
  }
  Float80 factor_;
  int left_, top_;
  CanvasFont font_;
  QPainter painter_;
  std::optional<QPainterCanvas> inner_;
};

inline std::vector<CanvasOp> OpsOfKind(const std::vector<CanvasOp>& ops, CanvasOp::Kind kind) {
  std::vector<CanvasOp> result;
  for (const CanvasOp& op : ops) {
    if (op.kind == kind) result.push_back(op);
  }
  return result;
}

inline QStringList Texts(const std::vector<CanvasOp>& ops) {
  QStringList texts;
  for (const CanvasOp& op : OpsOfKind(ops, CanvasOp::Text)) texts << op.text;
  return texts;
}

inline const CanvasOp* FindText(const std::vector<CanvasOp>& ops, const QString& text) {
  for (const CanvasOp& op : ops) {
    if (op.kind == CanvasOp::Text && op.text == text) return &op;
  }
  return nullptr;
}

// The files in `dir` this process holds open, named or not, as the system lists them: their
// links under /proc/self/fd, which stat() follows to the file.
inline QStringList OpenFilesIn(const QString& dir) {
  QStringList files;
  for (const QString& fd : QDir(QStringLiteral("/proc/self/fd"))
                               .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
    const QString link = QStringLiteral("/proc/self/fd/") + fd;
    char target[4096];
    const ssize_t n = readlink(QFile::encodeName(link).constData(), target, sizeof target - 1);
    if (QFile::decodeName(QByteArray(target, n > 0 ? int(n) : 0)).startsWith(dir + '/')) {
      files << link;
    }
  }
  return files;
}

class ScopedTmpdir {
 public:
  explicit ScopedTmpdir(const QString& dir) : old_(qgetenv("TMPDIR")) {
    qputenv("TMPDIR", QFile::encodeName(dir));
  }
  ~ScopedTmpdir() { old_.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", old_); }

 private:
  QByteArray old_;
};

// A file of the source tree, which the tests' environment names.
inline QString SourcePath(const QString& relative) {
  const char* root = std::getenv("HB9CV_SOURCE_DIR");
  return QDir(QString::fromLocal8Bit(root != nullptr ? root : ".")).filePath(relative);
}

// The report form with the captions a computation of 145 MHz gives it.
inline std::unique_ptr<TPrintForm> FormAfter145MHz() {
  auto form = std::make_unique<TPrintForm>();
  SetDecimalSeparator(',');  // the Czech locale the page is written for
  const std::pair<ValueId, const char*> captions[] = {
      {ValueId::Frequency, "145 MHz"}, {ValueId::Z, "951,7 mm"},
      {ValueId::R, "1036,5 mm"},       {ValueId::RZ, "258,6 mm"},
      {ValueId::x, "20,6 mm"},         {ValueId::Tz, "130,3 mm"},
      {ValueId::Tr, "140,6 mm"},       {ValueId::Diameter, "Průměr 2,89 až 5,17 mm"}};
  for (const auto& [which, text] : captions) form->SetCaption(which, QString::fromUtf8(text));
  return form;
}

}  // namespace hb9cv::test
