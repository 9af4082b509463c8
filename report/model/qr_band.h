#pragma once
// A band: a horizontal strip of the page that holds elements and prints as one piece.
#include <QColor>

#include "report/model/qr_frame.h"
#include "report/model/qr_panel.h"
#include "report/model/qr_units.h"

namespace hb9cv {

// clang-format off
enum class TQRBandType {
  rbTitle, rbPageHeader, rbDetail, rbPageFooter, rbSummary, rbGroupHeader, rbGroupFooter,
  rbSubDetail, rbColumnHeader, rbOverlay, rbChild
};
// clang-format on

class TQRCustomBand : public TQRBasePanel {
 public:
  TQRCustomBand(QString name, TCustomReport* report, TQRBandType type);

  TQRBandSize Size;
  TQRFrame Frame;

  TQRBandType BandType() const { return bandType_; }
  const QColor& Color() const { return color_; }
  void SetColor(const QColor& color) { color_ = color; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool AlignToBottom() const { return alignToBottom_; }
  void SetAlignToBottom(bool value) { alignToBottom_ = value; }
  bool ForceNewColumn() const { return forceNewColumn_; }
  void SetForceNewColumn(bool value) { forceNewColumn_ = value; }
  bool ForceNewPage() const { return forceNewPage_; }
  void SetForceNewPage(bool value) { forceNewPage_ = value; }
  // The band printed right after this one and kept with it when room is made.
  bool HasChild() const { return child_ != nullptr; }
  TQRCustomBand* ChildBand() const { return child_; }
  // Refused (nothing changes) when it would make the chain of children a loop.
  bool SetChildBand(TQRCustomBand* child);

  // Height gained while printing (stored units); 0 outside a print.
  Float80 ExtraHeight() const { return extraHeight_; }
  void ResetExtraHeight() { extraHeight_ = 0; }
  // Grows the band by `height` when the page has room below it; false when it has not.
  bool Grow(Float80 height);

  TCustomReport* ParentReport() const override { return report_; }
  // Copies the stored size to the pixel size and lets the elements re-align.
  void SizeToBounds();
  void Loaded();

  // Draws the band at (x, y) (stored units from the paper's corner): its background, the
  // elements that are enabled (only the unfinished ones when `reprint`), and its frame.
  // Returns false when the band's pixel height is 0 and nothing was drawn.
  virtual bool PrintAt(QRDevice& device, int x, int y, bool reprint);
  // Whether every element is printed completely.
  bool ElementsFinished() const;
  int ElementsProgress() const;

 private:
  TCustomReport* report_;
  TQRBandType bandType_;
  QColor color_ = Qt::white;
  bool enabled_ = true;
  bool alignToBottom_ = false;
  bool forceNewColumn_ = false;
  bool forceNewPage_ = false;
  TQRCustomBand* child_ = nullptr;
  Float80 extraHeight_ = 0;
};

class TQRBand : public TQRCustomBand {
 public:
  using TQRCustomBand::TQRCustomBand;
};

}  // namespace hb9cv
