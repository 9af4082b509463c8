#pragma once
// The hidden form that holds the report page: Report1 with its single title band, the title,
// the frequency line, the antenna drawing with the value places, and the advice lines.
#include <QString>

#include "report/model/qr_report.h"
#include "report/report_link.h"

namespace hb9cv {

class TPrintForm : public ReportLink {
 public:
  TPrintForm();
  ~TPrintForm() override;
  TPrintForm(const TPrintForm&) = delete;
  TPrintForm& operator=(const TPrintForm&) = delete;

  void SetCaption(ValueId which, const QString& caption) override;
  void Preview() override;

  // The label that shows a value: QRLabel3 for the frequency, QRLabel_<id> for the others;
  // nullptr for a value the page does not show.
  TQRLabel* ValueLabel(ValueId which) const;

  TReport Report1;
  TQRBand* TitleBand1 = nullptr;
  TQRLabel* QRLabel1 = nullptr;
  TQRLabel* QRLabel2 = nullptr;
  TQRLabel* QRLabel3 = nullptr;
  TQRImage* QRImage1 = nullptr;
  TQRLabel* QRLabel_Z = nullptr;
  TQRLabel* QRLabel_R = nullptr;
  TQRLabel* QRLabel_RZ = nullptr;
  TQRLabel* QRLabel_x = nullptr;
  TQRLabel* QRLabel_Tz = nullptr;
  TQRLabel* QRLabel_Tr = nullptr;
  TQRLabel* QRLabel_Q = nullptr;
  TQRLabel* QRLabel4 = nullptr;
  TQRLabel* QRLabel5 = nullptr;
  TQRLabel* QRLabel6 = nullptr;
  TQRLabel* QRLabel7 = nullptr;
  TQRLabel* QRLabel8 = nullptr;
  TQRLabel* QRLabel9 = nullptr;
  TQRLabel* QRLabel10 = nullptr;
  TQRLabel* QRLabel11 = nullptr;
  TQRLabel* QRLabel12 = nullptr;
  TQRLabel* QRLabel13 = nullptr;
};

}  // namespace hb9cv
