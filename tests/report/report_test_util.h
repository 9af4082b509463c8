#pragma once
// Shared by the report tests: the application, a canvas that records what is drawn, and an
// output device that renders pages into images through that canvas.
#include <QApplication>
#include <QPainter>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "report/fonts.h"
#include "report/qpainter_canvas.h"
#include "report/qr_device.h"

namespace hb9cv::test {

inline void EnsureApp() {
  static int argc = 1;
  static char arg0[] = "report_test";
  static char* argv[] = {arg0, nullptr};
  static QApplication* app = [] {
    auto* created = new QApplication(argc, argv);
    InstallFontSubstitutions();
    return created;
  }();
  (void)app;
}

struct CanvasOp {
  enum Kind { Font, Text, Fill, Clip, Unclip, Picture } kind;
  DeviceRect rect{};
  int x = 0;
  int y = 0;
  QString text{};
  CanvasFont font{};
  QColor color{};
  QSize pictureSize{};
};

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(Canvas& inner) : inner_(inner) {}

  int DpiX() const override { return inner_.DpiX(); }
  int DpiY() const override { return inner_.DpiY(); }
  void SetFont(const CanvasFont& font) override {
    font_ = font;
    ops.push_back({.kind = CanvasOp::Font, .font = font});
    inner_.SetFont(font);
  }
  int TextWidth(const QString& text) override { return inner_.TextWidth(text); }
  int TextHeight(const QString& text) override { return inner_.TextHeight(text); }
  void TextOut(int x, int y, const QString& text) override {
    ops.push_back({.kind = CanvasOp::Text, .x = x, .y = y, .text = text, .font = font_});
    inner_.TextOut(x, y, text);
  }
  void FillRect(const DeviceRect& rect, const QColor& color) override {
    ops.push_back({.kind = CanvasOp::Fill, .rect = rect, .color = color});
    inner_.FillRect(rect, color);
  }
  void SetClipRect(const DeviceRect& rect) override {
    ops.push_back({.kind = CanvasOp::Clip, .rect = rect});
    inner_.SetClipRect(rect);
  }
  void ClearClip() override {
    ops.push_back({.kind = CanvasOp::Unclip});
    inner_.ClearClip();
  }
  void StretchDraw(const DeviceRect& target, const QImage& picture) override {
    ops.push_back({.kind = CanvasOp::Picture, .rect = target, .pictureSize = picture.size()});
    inner_.StretchDraw(target, picture);
  }

  std::vector<CanvasOp> ops;

 private:
  Canvas& inner_;
  CanvasFont font_;
};

// Renders pages into images like QRImageDevice, records the drawing calls of every page and
// the device calls ("begin", "page", "end", "abort").
class TestDevice : public QRDevice {
 public:
  struct Page {
    QImage image;
    std::vector<CanvasOp> ops;
  };

  TestDevice(long double xFactor, long double yFactor, long double paperWidth = 2100,
             long double paperLength = 2970, int leftOffset = 0, int topOffset = 0)
      : xFactor_(xFactor),
        yFactor_(yFactor),
        paperWidth_(paperWidth),
        paperLength_(paperLength),
        leftOffset_(leftOffset),
        topOffset_(topOffset) {}
  ~TestDevice() override { Close(); }

  long double XFactor() const override { return xFactor_; }
  long double YFactor() const override { return yFactor_; }
  int LeftOffset() const override { return leftOffset_; }
  int TopOffset() const override { return topOffset_; }
  long double PaperWidth() const override { return paperWidth_; }
  long double PaperLength() const override { return paperLength_; }

  void BeginDoc() override {
    calls.push_back("begin");
    pages.clear();
  }
  void NewPage() override {
    calls.push_back("page");
    Close();
    pages.emplace_back();
    const int dpiX = QRRound(xFactor_ * 254);
    const int dpiY = QRRound(yFactor_ * 254);
    Page& page = pages.back();
    page.image = QImage(XSize(paperWidth_), YSize(paperLength_), QImage::Format_RGB32);
    page.image.setDotsPerMeterX(qRound(dpiX / 0.0254));
    page.image.setDotsPerMeterY(qRound(dpiY / 0.0254));
    page.image.fill(Qt::white);
    painter_.begin(&page.image);
    inner_.emplace(painter_, dpiX, dpiY);
    recorder_.emplace(*inner_);
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
  Canvas& PageCanvas() override { return *recorder_; }

  std::vector<std::string> calls;
  std::vector<Page> pages;
  std::function<void()> onNewPage;

 private:
  void Close() {
    if (!recorder_) return;
    pages.back().ops = std::move(recorder_->ops);
    recorder_.reset();
    inner_.reset();
    painter_.end();
  }

  long double xFactor_;
  long double yFactor_;
  long double paperWidth_;
  long double paperLength_;
  int leftOffset_;
  int topOffset_;
  QPainter painter_;
  std::optional<QPainterCanvas> inner_;
  std::optional<RecordingCanvas> recorder_;
};

inline std::vector<CanvasOp> OpsOfKind(const std::vector<CanvasOp>& ops, CanvasOp::Kind kind) {
  std::vector<CanvasOp> result;
  for (const CanvasOp& op : ops) {
    if (op.kind == kind) result.push_back(op);
  }
  return result;
}

inline const CanvasOp* FindText(const std::vector<CanvasOp>& ops, const QString& text) {
  for (const CanvasOp& op : ops) {
    if (op.kind == CanvasOp::Text && op.text == text) return &op;
  }
  return nullptr;
}

}  // namespace hb9cv::test
