#include "report/preview/preview.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "report/print/qr_printer.h"
#include "report/render/emf_player.h"
#include "report/render/fonts.h"

namespace hb9cv {

namespace preview_zoom {

bool IsValidZoom(int zoom) {
  return zoom >= kMinZoom && zoom <= kMaxZoom;
}

int FitZoom(QSize view, QSize page100) {
  if (page100.width() <= 0 || page100.height() <= 0) return 0;
  const int zx = QRRound(Float80(view.width()) / page100.width() * 95);
  const int zy = QRRound(Float80(view.height()) / page100.height() * 95);
  return std::min(zx, zy);
}

int WidthZoom(int viewWidth, int page100Width) {
  if (page100Width <= 0) return 0;
  return QRRound(Float80(viewWidth) / page100Width * 90);
}

QRect LayoutPage(QSize view, Float80 paperWidth, Float80 paperLength, int zoom, Float80 xFactor,
                 Float80 yFactor) {
  const int width = QRRound(paperWidth * zoom / 100 * xFactor) + 4;
  const int height = QRRound(paperLength * zoom / 100 * yFactor) + 4;
  const int left = width < view.width() ? (view.width() - width) / 2 : 0;
  const int top = height < view.height() ? (view.height() - height) / 2 : 0;
  return QRect(left, top, width, height);
}

}  // namespace preview_zoom

// --- page image

TQRPreviewImage::TQRPreviewImage(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

TQRPreviewImage::~TQRPreviewImage() = default;

void TQRPreviewImage::SetPageNumber(int n) {
  picture_ = Metafile();
  played_ = QImage();
  pageNumber_ = n;
  if (printer_) picture_ = printer_->GetPage(n);
  update();
}

void TQRPreviewImage::PaintPage(QPainter& painter, QSize size) const {
  if (picture_.IsNull()) return;
  const int w = size.width();
  const int h = size.height();
  // Rectangles here follow the drawing convention of the page: right and bottom exclusive.
  painter.fillRect(QRect(QPoint(1, 1), QPoint(w - 4, h - 4)), Qt::white);
  if (played_.size() != size) {
    played_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    played_.fill(Qt::transparent);
    QPainter player(&played_);
    // Zoomed out, the drawing's one-pixel lines would drop out of a plain scaled bitmap.
    player.setRenderHint(QPainter::SmoothPixmapTransform);
    player.setRenderHint(QPainter::TextAntialiasing);
    PlayEmf(player, picture_, QRectF(0, 0, w, h));
  }
  painter.drawImage(0, 0, played_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::NoBrush);
  const QPoint outline[] = {{0, 0}, {0, h - 3}, {w - 3, h - 3}, {w - 3, 0}, {0, 0}};
  painter.drawPolyline(outline, 5);
  painter.fillRect(QRect(QPoint(w - 2, 2), QPoint(w - 1, h - 1)), Qt::black);
  painter.fillRect(QRect(QPoint(2, h - 2), QPoint(w - 1, h - 1)), Qt::black);
}

void TQRPreviewImage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setClipRegion(event->region());
  PaintPage(painter, size());
}

// --- preview control

TQRPreview::TQRPreview(QWidget* parent)
    : QScrollArea(parent), content_(new QWidget), image_(new TQRPreviewImage(content_)) {
  setWidgetResizable(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setWidget(content_);
  content_->setAutoFillBackground(false);
  // The page follows the thumb while it is dragged.
  horizontalScrollBar()->setTracking(true);
  verticalScrollBar()->setTracking(true);
  UpdateZoom();
}

TQRPreview::~TQRPreview() {
  // A printer that outlives its preview must no longer send notices here.
  if (printer_ && printer_->Client() == this) printer_->SetClient(nullptr);
}

void TQRPreview::SetQRPrinter(TQRPrinter* printer) {
  if (printer_ && printer_->Client() == this) {
    printer_->SetShowingPreview(false);
    printer_->SetClient(nullptr);
  }
  printer_ = printer;
  image_->SetQRPrinter(printer);
  if (printer != nullptr) {
    printer->SetClient(this);
    printer->SetShowingPreview(true);
  }
  SetPageNumber(1);
  image_->SetPageNumber(1);
  update();
}

void TQRPreview::SetPageNumber(int n) {
  if (n == pageNumber_ && image_->PictureLoaded()) return;
  if (!printer_ || n < 1 || n > printer_->PageCount()) return;
  image_->SetPageNumber(n);
  pageNumber_ = n;
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
}

void TQRPreview::SetZoom(int zoom) {
  if (!preview_zoom::IsValidZoom(zoom)) return;
  zoomState_ = ZoomMode::Fixed;
  zoom_ = zoom;
  UpdateZoom();
}

QSize TQRPreview::Page100() const {
  return QSize(QRRound(PaperWidth() * XFactor()), QRRound(PaperLength() * YFactor()));
}

void TQRPreview::ZoomToFit() {
  SetZoom(preview_zoom::FitZoom(size(), Page100()));
  zoomState_ = ZoomMode::Fit;
}

void TQRPreview::ZoomToWidth() {
  SetZoom(preview_zoom::WidthZoom(width(), Page100().width()));
  UpdateZoom();
  zoomState_ = ZoomMode::Width;
}

void TQRPreview::UpdateZoom() {
  const QRect r =
      preview_zoom::LayoutPage(size(), PaperWidth(), PaperLength(), zoom_, XFactor(), YFactor());
  content_->resize(r.right() + 1, r.bottom() + 1);
  image_->setGeometry(r);
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  image_->SetZoom(zoom_);
}

Float80 TQRPreview::PaperWidth() const {
  return printer_ ? printer_->PaperWidth() : Float80(2100);
}

Float80 TQRPreview::PaperLength() const {
  return printer_ ? printer_->PaperLength() : Float80(2970);
}

Float80 TQRPreview::XFactor() const {
  return printer_ ? printer_->XFactor() : FactorForDpi(ScreenPixelsPerInch());
}

Float80 TQRPreview::YFactor() const {
  return printer_ ? printer_->YFactor() : FactorForDpi(ScreenPixelsPerInch());
}

void TQRPreview::PageFinished(int availablePages) {
  if (printer_ && availablePages == pageNumber_ && !image_->PictureLoaded() &&
      image_->PageNumber() <= printer_->AvailablePages()) {
    ZoomToWidth();
    image_->SetPageNumber(image_->PageNumber());
  }
  emit OnPageAvailable(availablePages);
}

void TQRPreview::ProgressUpdate(int percent) {
  emit OnProgressUpdate(percent);
}

void TQRPreview::Relayout() {
  if (zoomState_ == ZoomMode::Fit) {
    ZoomToFit();
  } else if (zoomState_ == ZoomMode::Width) {
    ZoomToWidth();
  }
  UpdateZoom();
}

void TQRPreview::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  Relayout();
}

}  // namespace hb9cv
