#pragma once
// Records a report page as an enhanced metafile "against the screen": the reference device has
// the screen's pixels per inch, texts are measured with the screen's font metrics, and the
// picture frame is the paper.
#include <QFont>
#include <QImage>
#include <QSize>
#include <memory>
#include <optional>
#include <vector>

#include "report/render/canvas.h"
#include "report/render/metafile.h"

namespace hb9cv {

class EmfRecorder final : public Canvas {
 public:
  // A page of `pixels` device pixels recorded against a reference device of dpiX × dpiY;
  // `paper` is the paper size in hundredths of a millimetre and becomes the picture frame.
  EmfRecorder(QSize pixels, QSize paper, int dpiX, int dpiY);
  ~EmfRecorder() override;
  EmfRecorder(const EmfRecorder&) = delete;
  EmfRecorder& operator=(const EmfRecorder&) = delete;

  int DpiX() const override { return dpiX_; }
  int DpiY() const override { return dpiY_; }
  void SetFont(const CanvasFont& font) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void TextOut(int x, int y, const QString& text) override;
  void FillRect(const DeviceRect& rect, const QColor& color) override;
  void SetClipRect(const DeviceRect& rect) override;
  void ClearClip() override;
  void StretchDraw(const DeviceRect& target, const QImage& picture) override;

  // Ends the page and returns its picture. Drawing after Finish() is ignored.
  Metafile Finish();

  // Per-character advances (one per UTF-16 unit) that place `text` exactly as the screen
  // font lays it out; they add up to TextWidth(text).
  std::vector<int> CharacterAdvances(const QString& text);

 private:
  class Writer;
  struct DcState {
    quint32 font = 0;  // 0: none of ours selected
    quint32 brush = 0;
    bool nullPen = false;
    std::optional<QRgb> textColor;
  };

  quint32 FontHandle(const CanvasFont& font);
  quint32 BrushHandle(QRgb color);
  void Select(quint32 handle);
  void SaveDc();
  void RestoreDc();

  std::unique_ptr<Writer> writer_;
  // A tiny image at the reference resolution: texts measure exactly as on a screen canvas.
  QImage measure_;
  QSize pixels_;
  int dpiX_;
  int dpiY_;
  CanvasFont font_;
  QFont qfont_;
  std::vector<std::pair<CanvasFont, quint32>> fonts_;
  std::vector<std::pair<QRgb, quint32>> brushes_;
  DcState dc_;
  std::vector<DcState> saved_;
  bool clipActive_ = false;
};

}  // namespace hb9cv
