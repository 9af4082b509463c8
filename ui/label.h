#pragma once
// A caption on a window: sized to its text, its left edge fixed, so a longer caption grows to
// the right. Opaque: it fills its rectangle with its parent's colour before the text, which
// hides whatever lies under it (the antenna drawing). Takes no focus and ignores input.
#include <QLabel>

namespace hb9cv {

class FormLabel : public QLabel {
  Q_OBJECT
 public:
  FormLabel(const QString& name, const QString& caption, const QFont& font, QWidget* parent);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption);

 private:
  void FitToCaption();
};

}  // namespace hb9cv
