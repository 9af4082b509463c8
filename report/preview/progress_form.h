#pragma once
// The small window shown while a report prints: a bar, a percentage and Cancel.
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

namespace hb9cv {

class TQRPrinter;

class TQRProgressForm : public QDialog {
  Q_OBJECT
 public:
  explicit TQRProgressForm(TQRPrinter* printer, QWidget* parent = nullptr);
  ~TQRProgressForm() override;

  TQRPrinter* QRPrinter() const { return printer_; }

  QProgressBar* Gauge;
  QLabel* Info;
  QPushButton* CancelButton;

  // A progress notice: every fifth percent shows on the bar and the label.
  void ProgressUpdate(int percent);
  void CancelButtonClick();

 protected:
  bool event(QEvent* event) override;

 private:
  QPointer<TQRPrinter> printer_;
};

}  // namespace hb9cv
