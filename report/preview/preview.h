#pragma once
// The preview control: a scroll box holding one page image, with zoom and page number.
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QScrollArea>
#include <QSize>
#include <QWidget>

#include "calc/float80.h"
#include "report/print/qr_printer.h"
#include "report/render/metafile.h"

namespace hb9cv {

enum class ZoomMode { Fit, Width, Fixed };

// Zoom arithmetic of the preview, free of widgets. Pixel sizes of the page are those of the
// paper at 100 % (XSize of the paper width, YSize of the paper length).
// Zoom arithmetic of the preview, in whole percent. On a screen of 96 pixels per inch the
// factors are 96 / 254 pixels per stored unit and an A4 page (2100 × 2970) is 794 × 1123 pixels
// at 100 %; in a view of 1000 × 600 pixels:
//   WidthZoom(1000, 794)                   113   (1000 / 794 × 90 = 113.35)
//   FitZoom({1000, 600}, {794, 1123})      51    (1000 / 794 × 95 → 120, 600 / 1123 × 95 → 51)
//   LayoutPage(view, 2100, 2970, 100, …)   left 101, top 0, 798 × 1127
//   LayoutPage(view, 2100, 2970, 113, …)   left 49, top 0, 901 × 1272
//   LayoutPage(view, 2100, 2970, 51, …)    left 295, top 12, 409 × 576
namespace preview_zoom {

constexpr int kMinZoom = 2;
constexpr int kMaxZoom = 2000;

bool IsValidZoom(int zoom);
// Zoom that shows the whole page in a view of `view` pixels.
int FitZoom(QSize view, QSize page100);
// Zoom that makes the page fill nine tenths of the view's width.
int WidthZoom(int viewWidth, int page100Width);

// Where the page image goes in the scroll box: its size includes the outline and shadow; it
// is centred in each direction where it is smaller than the view and starts at 0 where not.
QRect LayoutPage(QSize view, Float80 paperWidth, Float80 paperLength, int zoom, Float80 xFactor,
                 Float80 yFactor);

}  // namespace preview_zoom

// One page, white with a black outline and a shadow, drawn from its stored picture.
class TQRPreviewImage : public QWidget {
  Q_OBJECT
 public:
  explicit TQRPreviewImage(QWidget* parent = nullptr);
  ~TQRPreviewImage() override;

  TQRPrinter* QRPrinter() const { return printer_; }
  void SetQRPrinter(TQRPrinter* printer) { printer_ = printer; }
  int PageNumber() const { return pageNumber_; }
  // Drops the picture held, fetches page `n` from the printer (none when not available) and
  // repaints.
  void SetPageNumber(int n);
  bool PictureLoaded() const { return !picture_.IsNull(); }
  const Metafile& Picture() const { return picture_; }
  int Zoom() const { return zoom_; }
  void SetZoom(int zoom) { zoom_ = zoom; }

  // Draws the image as it appears on screen into `painter` for a widget of `size`.
  void PaintPage(QPainter& painter, QSize size) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPointer<TQRPrinter> printer_;
  int pageNumber_ = 0;
  int zoom_ = 100;
  Metafile picture_;
  // The picture played at the widget's size: scrolling and partial exposes repaint from it
  // instead of parsing and playing the whole page again.
  mutable QImage played_;
};

class TQRPreview : public QScrollArea, public QRPrinterClient {
  Q_OBJECT
 public:
  explicit TQRPreview(QWidget* parent = nullptr);
  ~TQRPreview() override;

  TQRPrinter* QRPrinter() const { return printer_; }
  // Shows `printer` (or nothing): the previous printer stops showing a preview, the new one
  // sends its notices here, and page 1 is shown once it exists.
  void SetQRPrinter(TQRPrinter* printer);

  int PageNumber() const { return pageNumber_; }
  void SetPageNumber(int n);
  int Zoom() const { return zoom_; }
  // Ignored outside 2 to 2000; otherwise the zoom becomes fixed at `zoom`.
  void SetZoom(int zoom);
  ZoomMode ZoomState() const { return zoomState_; }
  void ZoomToFit();
  void ZoomToWidth();
  // Sizes and places the page image for the current zoom and scrolls to the top left.
  void UpdateZoom();
  // Zooms again in the current mode (fit and width follow the view and the paper) and lays out.
  void Relayout();

  TQRPreviewImage* PreviewImage() const { return image_; }
  // The paper shown, in stored units and device pixels per stored unit; A4 at the screen's
  // resolution while no printer is attached.
  Float80 PaperWidth() const;
  Float80 PaperLength() const;
  Float80 XFactor() const;
  Float80 YFactor() const;
  // The page's size at 100 %.
  QSize Page100() const;

 signals:
  void OnPageAvailable(int pageNumber);
  void OnProgressUpdate(int percent);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The printer's notices.
  void PageFinished(int availablePages) override;
  void ProgressUpdate(int percent) override;

  QPointer<TQRPrinter> printer_;
  QWidget* content_;
  TQRPreviewImage* image_;
  int pageNumber_ = 1;
  int zoom_ = 100;
  ZoomMode zoomState_ = ZoomMode::Fixed;
};

}  // namespace hb9cv
