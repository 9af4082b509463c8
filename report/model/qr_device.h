#pragma once
// The output device a report pass draws on: page pictures for the preview, a printer, or
// plain images. Lengths are stored units (tenths of a millimetre); the factors turn them into
// device pixels.
#include <QImage>
#include <memory>
#include <vector>

#include "report/render/canvas.h"

namespace hb9cv {

class TCustomReport;

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4); clamped to the int
// range so that absurd geometry cannot overflow.
int QRRound(long double value);

class QRDevice {
 public:
  virtual ~QRDevice() = default;

  // Device pixels per stored unit.
  virtual long double XFactor() const = 0;
  virtual long double YFactor() const = 0;
  // The device's unprintable margins in stored units (0 for pictures of the whole paper).
  virtual int LeftOffset() const = 0;
  virtual int TopOffset() const = 0;
  // The paper in its orientation, stored units.
  virtual long double PaperWidth() const = 0;
  virtual long double PaperLength() const = 0;

  // Called by the report pass before BeginDoc, to take the report's title and page and
  // printing settings. Nothing to take by default.
  virtual void PrepareBuild(const TCustomReport& report);
  virtual void BeginDoc() = 0;
  // Before every page, the first one included.
  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;
  // Instead of EndDoc when the build was cancelled or failed.
  virtual void Abort() = 0;
  // The surface of the page being drawn; only valid between NewPage and EndDoc/Abort.
  virtual Canvas& PageCanvas() = 0;

  virtual bool Cancelled() const { return cancelled_; }
  virtual void Cancel() { cancelled_ = true; }

  int XPos(long double v) const { return QRRound((v - LeftOffset()) * XFactor()); }
  int YPos(long double v) const { return QRRound((v - TopOffset()) * YFactor()); }
  int XSize(long double v) const { return QRRound(v * XFactor()); }
  int YSize(long double v) const { return QRRound(v * YFactor()); }

 protected:
  void ClearCancel() { cancelled_ = false; }

 private:
  bool cancelled_ = false;
};

// Device pixels per stored unit for a resolution in pixels per inch.
inline long double FactorForDpi(int dpi) {
  return static_cast<long double>(dpi) / 254;
}

// Renders every page into an image of the whole paper, white, at the given factors. The image
// resolution (dots per metre) is set to match, so fonts realise at factor x 254 pixels per inch.
class QRImageDevice : public QRDevice {
 public:
  QRImageDevice(long double xFactor, long double yFactor, long double paperWidth,
                long double paperLength);
  ~QRImageDevice() override;

  long double XFactor() const override { return xFactor_; }
  long double YFactor() const override { return yFactor_; }
  int LeftOffset() const override { return 0; }
  int TopOffset() const override { return 0; }
  long double PaperWidth() const override { return paperWidth_; }
  long double PaperLength() const override { return paperLength_; }

  void BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;
  Canvas& PageCanvas() override;

  // Finished pages; after Abort only the pages finished before it.
  const std::vector<QImage>& Pages() const { return pages_; }
  std::vector<QImage> TakePages() { return std::move(pages_); }

 private:
  struct OpenPage;
  void ClosePage(bool keep);

  long double xFactor_;
  long double yFactor_;
  long double paperWidth_;
  long double paperLength_;
  std::vector<QImage> pages_;
  std::unique_ptr<OpenPage> page_;
};

// Builds the report onto images at the given factors (pixels per tenth of a millimetre) on
// the report's own paper. Empty when the report prints no page.
std::vector<QImage> RenderReportPages(TCustomReport& report, long double xFactor,
                                      long double yFactor);
// The first page, or a null image when there is none.
QImage RenderReportPage(TCustomReport& report, long double xFactor, long double yFactor);

}  // namespace hb9cv
