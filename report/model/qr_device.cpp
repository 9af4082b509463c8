#include "report/model/qr_device.h"

#include <QPainter>
#include <climits>
#include <cmath>

#include "calc/errors.h"
#include "report/model/qr_report.h"
#include "report/render/qpainter_canvas.h"
#include "report/store/qr_error.h"

namespace hb9cv {

int QRRound(Float80 value) {
  if (value.IsNaN()) return 0;
  const Float80 rounded = RoundToEven(value);
  if (rounded <= INT_MIN) return INT_MIN;
  if (rounded >= INT_MAX) return INT_MAX;
  return static_cast<int>(Truncate(rounded));
}

void QRDevice::PrepareBuild(const TCustomReport&) {}

struct QRImageDevice::OpenPage {
  QImage image;
  QPainter painter;
  std::optional<QPainterCanvas> canvas;
};

QRImageDevice::QRImageDevice(Float80 xFactor, Float80 yFactor, Float80 paperWidth,
                             Float80 paperLength)
    : xFactor_(xFactor), yFactor_(yFactor), paperWidth_(paperWidth), paperLength_(paperLength) {}

QRImageDevice::~QRImageDevice() {
  ClosePage(false);
}

void QRImageDevice::BeginDoc() {
  ClosePage(false);
  pages_.clear();
  ClearCancel();
}

void QRImageDevice::NewPage() {
  ClosePage(true);
  const int dpiX = QRRound(xFactor_ * 254);
  const int dpiY = QRRound(yFactor_ * 254);
  page_ = std::make_unique<OpenPage>();
  page_->image = QImage(std::max(1, XSize(paperWidth_)), std::max(1, YSize(paperLength_)),
                        QImage::Format_RGB32);
  page_->image.setDotsPerMeterX(static_cast<int>(std::lround(dpiX / 0.0254)));
  page_->image.setDotsPerMeterY(static_cast<int>(std::lround(dpiY / 0.0254)));
  page_->image.fill(Qt::white);
  page_->painter.begin(&page_->image);
  page_->canvas.emplace(page_->painter, dpiX, dpiY);
}

void QRImageDevice::ClosePage(bool keep) {
  if (!page_) return;
  page_->canvas.reset();
  page_->painter.end();
  if (keep) pages_.push_back(std::move(page_->image));
  page_.reset();
}

void QRImageDevice::EndDoc() {
  ClosePage(true);
}

void QRImageDevice::Abort() {
  ClosePage(false);
}

Canvas& QRImageDevice::PageCanvas() {
  if (!page_) throw EQRError(QT_TRANSLATE_NOOP("Errors", "No page to draw on"), {});
  return *page_->canvas;
}

std::vector<QImage> RenderReportPages(TCustomReport& report, Float80 xFactor, Float80 yFactor) {
  QRImageDevice device(xFactor, yFactor, report.Page.Stored(TQRPage::kWidth),
                       report.Page.Stored(TQRPage::kLength));
  report.Generate(device);
  return device.TakePages();
}

QImage RenderReportPage(TCustomReport& report, Float80 xFactor, Float80 yFactor) {
  std::vector<QImage> pages = RenderReportPages(report, xFactor, yFactor);
  return pages.empty() ? QImage() : std::move(pages.front());
}

}  // namespace hb9cv
