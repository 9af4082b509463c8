#pragma once
// What the main window needs from the report: its eight value captions and its preview.
#include <QString>

namespace hb9cv {

enum class ReportValue { Frequency, Z, R, RZ, x, Tz, Tr, Q };

class ReportLink {
 public:
  virtual ~ReportLink() = default;
  // Sets the caption of QRLabel3 (Frequency) or QRLabel_<id>; takes effect at the next build.
  virtual void SetCaption(ReportValue which, const QString& caption) = 0;
  // Opens the preview and returns when its window has closed.
  virtual void Preview() = 0;
};

}  // namespace hb9cv
