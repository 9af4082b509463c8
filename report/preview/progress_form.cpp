#include "report/preview/progress_form.h"

#include <QCoreApplication>

#include "report/preview/window_place.h"
#include "report/print/qr_printer.h"

namespace hb9cv {

TQRProgressForm::TQRProgressForm(TQRPrinter* printer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint),
      Gauge(new QProgressBar(this)),
      Info(new QLabel(this)),
      CancelButton(new QPushButton(QCoreApplication::translate("Progress", "Cancel"), this)),
      printer_(printer) {
  setObjectName(QStringLiteral("QRProgressForm"));
  setWindowTitle(QCoreApplication::translate("Progress", "Printing progress"));
  setFixedSize(149, 97);
  Gauge->setObjectName(QStringLiteral("Gauge"));
  Gauge->setGeometry(16, 18, 114, 16);
  Gauge->setRange(0, 100);
  Gauge->setValue(0);
  Gauge->setTextVisible(false);
  Info->setObjectName(QStringLiteral("Info"));
  Info->setGeometry(0, 44, 145, 13);
  Info->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  CancelButton->setGeometry(36, 60, 75, 25);
  connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
  CentreOnScreen(*this, size());
}

TQRProgressForm::~TQRProgressForm() {
  if (printer_ && printer_->Client() == this) printer_->SetClient(nullptr);
}

void TQRProgressForm::ProgressUpdate(int percent) {
  if (percent % 5 != 0) return;
  Gauge->setValue(percent);
  // Two blanks after the percent sign.
  Info->setText(QCoreApplication::translate("Progress", "%1%  Completed").arg(percent));
  // A print run builds the whole report without going back to the event loop: only here do the
  // bar and the label repaint and a click on Cancel reach the printer before the run ends.
  QCoreApplication::processEvents();
}

void TQRProgressForm::CancelButtonClick() {
  if (printer_) printer_->Cancel();
}

}  // namespace hb9cv
