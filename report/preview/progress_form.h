#pragma once
// The small window shown while a report prints: a bar, a percentage and Cancel.
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "report/print/qr_printer.h"

namespace hb9cv {

class TQRProgressForm : public QDialog, public QRPrinterClient {
  Q_OBJECT
 public:
  explicit TQRProgressForm(TQRPrinter* printer, QWidget* parent = nullptr);
  ~TQRProgressForm() override;

  TQRPrinter* QRPrinter() const { return printer_; }

  QProgressBar* Gauge;
  QLabel* Info;
  QPushButton* CancelButton;

  // A progress notice: every fifth percent shows on the bar and the label.
  void ProgressUpdate(int percent) override;
  void CancelButtonClick();

 private:
  void PageFinished(int) override {}

  QPointer<TQRPrinter> printer_;
};

}  // namespace hb9cv
