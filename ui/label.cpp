#include "ui/label.h"

#include <QFontMetrics>

namespace hb9cv {

FormLabel::FormLabel(const QString& name, const QString& caption, const QFont& font,
                     QWidget* parent)
    : QLabel(parent) {
  setObjectName(name);
  setFont(font);
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setText(caption);
  FitToCaption();
}

void FormLabel::SetCaption(const QString& caption) {
  if (caption == text()) return;
  setText(caption);
  FitToCaption();
}

void FormLabel::FitToCaption() {
  const QFontMetrics metrics(font());
  resize(metrics.horizontalAdvance(text()), metrics.height());
}

}  // namespace hb9cv
