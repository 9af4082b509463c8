#pragma once
// What the main window needs from the report: its value captions and its preview.
#include <QString>

#include "calc/value_table.h"

namespace hb9cv {

class ReportLink {
 public:
  virtual ~ReportLink() = default;
  // Sets the caption of the value's label; takes effect at the next build. A value the page
  // does not show is ignored.
  virtual void SetCaption(ValueId which, const QString& caption) = 0;
  // Opens the preview and returns when its window has closed.
  virtual void Preview() = 0;
};

}  // namespace hb9cv
