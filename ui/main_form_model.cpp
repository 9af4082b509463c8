#include "ui/main_form_model.h"

#include "calc/number_text.h"
#include "report/report_link.h"

namespace hb9cv {

ReportValue ReportValueOf(ValuePlace place) {
  switch (place) {
    case ValuePlace::QRLabel_Z:
      return ReportValue::Z;
    case ValuePlace::QRLabel_R:
      return ReportValue::R;
    case ValuePlace::QRLabel_RZ:
      return ReportValue::RZ;
    case ValuePlace::QRLabel_x:
      return ReportValue::x;
    case ValuePlace::QRLabel_Tz:
      return ReportValue::Tz;
    case ValuePlace::QRLabel_Tr:
      return ReportValue::Tr;
    case ValuePlace::QRLabel_Q:
      return ReportValue::Q;
    default:
      return ReportValue::Frequency;
  }
}

bool IsReportPlace(ValuePlace place) {
  switch (place) {
    case ValuePlace::QRLabel3:
    case ValuePlace::QRLabel_Z:
    case ValuePlace::QRLabel_R:
    case ValuePlace::QRLabel_RZ:
    case ValuePlace::QRLabel_x:
    case ValuePlace::QRLabel_Tz:
    case ValuePlace::QRLabel_Tr:
    case ValuePlace::QRLabel_Q:
      return true;
    default:
      return false;
  }
}

ComputeOutcome ComputeFromField(const std::string& field_text) {
  // Read with the field's own comma: with the locale's separator a "." locale could never
  // convert anything the field can hold.
  const double frequency = static_cast<double>(StrToFloat(field_text, kFieldDecimalSeparator));
  ComputeOutcome outcome;
  if (frequency == 0.0) {
    outcome.zero = true;
    return outcome;
  }
  outcome.writes = ResultWrites(ComputeDimensions(frequency));
  return outcome;
}

std::vector<CaptionWrite> ResultWrites(const DimensionSet& d) {
  using P = ValuePlace;
  return {
      {P::QRLabel3, d.frequency_text}, {P::Label_Lambda, d.wavelength_text},
      {P::Label_Z, d.Z_text},          {P::QRLabel_Z, d.Z_text},
      {P::Label_R, d.R_text},          {P::QRLabel_R, d.R_text},
      {P::Label_RZ, d.RZ_text},        {P::QRLabel_RZ, d.RZ_text},
      {P::Label_x, d.x_text},          {P::QRLabel_x, d.x_text},
      {P::Label_Tz, d.Tz_text},        {P::QRLabel_Tz, d.Tz_text},
      {P::Label_Tr, d.Tr_text},        {P::QRLabel_Tr, d.Tr_text},
      {P::Label_Q, d.diameter_text},   {P::QRLabel_Q, d.diameter_text},
  };
}

std::vector<CaptionWrite> ResetWrites() {
  using P = ValuePlace;
  std::vector<CaptionWrite> writes;
  for (P p : {P::Label_Lambda, P::Label_Z, P::Label_R, P::Label_RZ, P::Label_x, P::Label_Tz,
              P::Label_Tr, P::Label_Q}) {
    writes.push_back({p, "0"});
  }
  writes.push_back({P::QRLabel3, "0 MHz"});
  for (P p : {P::QRLabel_Z, P::QRLabel_R, P::QRLabel_RZ, P::QRLabel_x, P::QRLabel_Tz, P::QRLabel_Tr,
              P::QRLabel_Q}) {
    writes.push_back({p, "0 mm"});
  }
  return writes;
}

}  // namespace hb9cv
