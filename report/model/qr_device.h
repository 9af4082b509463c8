#pragma once
// The output device a report pass draws on: page pictures for the preview, a printer, or
// plain images. Lengths are stored units (tenths of a millimetre); the factors turn them into
// device pixels.
#include <QImage>
#include <memory>
#include <vector>

#include "calc/float80.h"
#include "report/render/canvas.h"

namespace hb9cv {

class TCustomReport;

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4); clamped to the int
// range so that absurd geometry cannot overflow.
int QRRound(Float80 value);

class QRDevice {
 public:
  virtual ~QRDevice() = default;

  // Device pixels per stored unit.
  virtual Float80 XFactor() const = 0;
  virtual Float80 YFactor() const = 0;
  // The device's unprintable margins in stored units (0 for pictures of the whole paper).
  virtual int LeftOffset() const = 0;
  virtual int TopOffset() const = 0;
  // The paper in its orientation, stored units.
  virtual Float80 PaperWidth() const = 0;
  virtual Float80 PaperLength() const = 0;

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

  int XPos(Float80 v) const { return QRRound((v - LeftOffset()) * XFactor()); }
  int YPos(Float80 v) const { return QRRound((v - TopOffset()) * YFactor()); }
  int XSize(Float80 v) const { return QRRound(v * XFactor()); }
  int YSize(Float80 v) const { return QRRound(v * YFactor()); }

 protected:
  void ClearCancel() { cancelled_ = false; }

 private:
  bool cancelled_ = false;
};

// Device pixels per stored unit for a resolution in pixels per inch.
inline Float80 FactorForDpi(int dpi) {
  return Float80(dpi) / 254;
}

// Renders every page into an image of the whole paper, white, at the given factors. The image
// resolution (dots per metre) is set to match, so fonts realise at factor x 254 pixels per inch.
class QRImageDevice : public QRDevice {
 public:
  QRImageDevice(Float80 xFactor, Float80 yFactor, Float80 paperWidth, Float80 paperLength);
  ~QRImageDevice() override;

  Float80 XFactor() const override { return xFactor_; }
  Float80 YFactor() const override { return yFactor_; }
  int LeftOffset() const override { return 0; }
  int TopOffset() const override { return 0; }
  Float80 PaperWidth() const override { return paperWidth_; }
  Float80 PaperLength() const override { return paperLength_; }

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

  Float80 xFactor_;
  Float80 yFactor_;
  Float80 paperWidth_;
  Float80 paperLength_;
  std::vector<QImage> pages_;
  std::unique_ptr<OpenPage> page_;
};

// Builds the report onto images at the given factors (pixels per tenth of a millimetre) on
// the report's own paper. Empty when the report prints no page.
std::vector<QImage> RenderReportPages(TCustomReport& report, Float80 xFactor, Float80 yFactor);
// The first page, or a null image when there is none.
QImage RenderReportPage(TCustomReport& report, Float80 xFactor, Float80 yFactor);

}  // namespace hb9cv
