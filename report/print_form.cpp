#include "report/print_form.h"

#include <QCoreApplication>
#include <memory>
#include <optional>
#include <span>

#include "report/preview/pdf_export.h"
#include "report/preview/report_printing.h"
#include "resources/drawing.h"

namespace hb9cv {

namespace {

struct LabelDef {
  TQRLabel* TPrintForm::*label;
  const char* name;
  std::optional<ValueId> value;  // the computed value it shows, if any
  // Size.Values as the form stores them: height, left, top, width (tenths of a millimetre).
  Float80 height, left, top, width;
  int pointSize;
  bool bold;
  bool underline;
  const char* caption;  // UTF-8, translated when loaded
};

// In drawing order: later entries are drawn over earlier ones. QRImage1 goes after QRLabel3.
// clang-format off
const LabelDef kBeforeDrawing[] = {
    {&TPrintForm::QRLabel1, "QRLabel1", {},
     66.146_f80, 476.25_f80, 47.625_f80, 981.604_f80, 16, true, true, QT_TRANSLATE_NOOP("TPrintForm", "Výpočet rozměrů antény typu HB9CV")},
    {&TPrintForm::QRLabel2, "QRLabel2", {},
     44.979_f80, 619.125_f80, 145.521_f80, 328.083_f80, 10, false, false, QT_TRANSLATE_NOOP("TPrintForm", "pro střední kmitočet :")},
    {&TPrintForm::QRLabel3, "QRLabel3", ValueId::Frequency,
     44.979_f80, 989.542_f80, 145.521_f80, 21.167_f80, 10, false, false, "0"},
};
// clang-format on

// clang-format off
const LabelDef kAfterDrawing[] = {
    {&TPrintForm::QRLabel_Z, "QRLabel_Z", ValueId::Z,
     39.688_f80, 883.708_f80, 587.375_f80, 68.792_f80, 8, false, false, "0 mm"},
    {&TPrintForm::QRLabel_R, "QRLabel_R", ValueId::R,
     39.688_f80, 1016.0_f80, 1291.167_f80, 68.792_f80, 8, false, false, "0 mm"},
    {&TPrintForm::QRLabel_RZ, "QRLabel_RZ", ValueId::RZ,
     44.979_f80, 1587.5_f80, 941.917_f80, 68.792_f80, 8, false, false, "0 mm"},
    {&TPrintForm::QRLabel_x, "QRLabel_x", ValueId::x,
     39.688_f80, 1322.917_f80, 764.646_f80, 68.792_f80, 8, false, false, "0 mm"},
    {&TPrintForm::QRLabel_Tz, "QRLabel_Tz", ValueId::Tz,
     39.688_f80, 1029.229_f80, 846.667_f80, 68.792_f80, 8, false, false, "0 mm"},
    {&TPrintForm::QRLabel_Tr, "QRLabel_Tr", ValueId::Tr,
     39.688_f80, 624.417_f80, 1071.562_f80, 68.792_f80, 8, false, false, "0 mm"},
    {&TPrintForm::QRLabel_Q, "QRLabel_Q", ValueId::Diameter,
     44.979_f80, 349.25_f80, 743.479_f80, 92.604_f80, 8, false, false, QT_TRANSLATE_NOOP("TPrintForm", "Průměr")},
    {&TPrintForm::QRLabel4, "QRLabel4", {},
     44.979_f80, 158.75_f80, 1606.021_f80, 1367.896_f80, 9, false, false,
     QT_TRANSLATE_NOOP("TPrintForm", R"txt(Připojení koaxiálního napáječe na svorky X a X'. Opletení koaxiálu na " X ", střední vodič na " X' ".)txt")},
    {&TPrintForm::QRLabel5, "QRLabel5", {},
     44.979_f80, 158.75_f80, 1648.354_f80, 1378.479_f80, 9, false, false,
     QT_TRANSLATE_NOOP("TPrintForm", R"txt(Impedance koaxiálu je 75 Ohmů, v případě použití koaxiálu s impedancí 50 Ohmů se PSV může)txt")},
    {&TPrintForm::QRLabel6, "QRLabel6", {},
     44.979_f80, 158.75_f80, 1690.688_f80, 1407.583_f80, 9, false, false,
     QT_TRANSLATE_NOOP("TPrintForm", R"txt(změnit o hodnotu 0,3. Je možné jemné doladění posunem napájecího vedení "Tz" a "Tr", případně)txt")},
    {&TPrintForm::QRLabel7, "QRLabel7", {},
     44.979_f80, 158.75_f80, 1733.021_f80, 1402.292_f80, 9, false, false,
     QT_TRANSLATE_NOOP("TPrintForm", R"txt(úpravou vzdálenosti " x ". Někteží dokonce doporučují mezi svorku X' a střední vodič koaxiálu vřadit)txt")},
    {&TPrintForm::QRLabel8, "QRLabel8", {},
     39.688_f80, 1314.979_f80, 724.958_f80, 18.521_f80, 8, true, false, "x"},
    {&TPrintForm::QRLabel9, "QRLabel9", {},
     44.979_f80, 1100.667_f80, 896.938_f80, 37.042_f80, 8, true, false, "Tz"},
    {&TPrintForm::QRLabel10, "QRLabel10", {},
     39.688_f80, 709.083_f80, 1127.125_f80, 34.396_f80, 8, true, false, "Tr"},
    {&TPrintForm::QRLabel11, "QRLabel11", {},
     44.979_f80, 158.75_f80, 1775.354_f80, 1359.958_f80, 9, false, false,
     QT_TRANSLATE_NOOP("TPrintForm", R"txt(proměnnou kapacitu (5 - 50 pF) a tou nastavit "ideální stav", ale to se nikdy v praxi neosvědčilo.)txt")},
    {&TPrintForm::QRLabel12, "QRLabel12", {},
     44.979_f80, 825.5_f80, 515.938_f80, 235.479_f80, 9, false, false, QT_TRANSLATE_NOOP("TPrintForm", "Směr vyzařování")},
    {&TPrintForm::QRLabel13, "QRLabel13", {},
     44.979_f80, 127.0_f80, 2725.208_f80, 164.042_f80, 6, false, false, "Kvetorad"},
};
// clang-format on

TQRLabel* LoadLabel(TQRBand& band, const LabelDef& def) {
  // Loading before it joins the band: a label measures its caption on every change, and
  // measuring realises the report's fonts, which the first window does not need. The stored
  // size is the truth until the first change after loading.
  auto owned = std::make_unique<TQRLabel>(QString::fromLatin1(def.name));
  TQRLabel* label = owned.get();
  label->BeginLoading();
  band.Insert(std::move(owned));
  label->Size.LoadValues({def.height, def.left, def.top, def.width});
  label->SetAlignment(TextAlignment::taLeftJustify);
  label->SetAlignToBand(false);
  label->SetAutoSize(true);
  label->SetAutoStretch(false);
  label->SetWordWrap(true);
  label->SetTransparent(false);
  label->SetColor(Qt::white);
  CanvasFont font;
  font.family = QStringLiteral("Arial");
  font.pointSize = def.pointSize;
  font.bold = def.bold;
  font.underline = def.underline;
  font.color = Qt::black;
  label->SetFont(font);
  label->SetFontSize(def.pointSize);
  label->SetCaption(QCoreApplication::translate("TPrintForm", def.caption));
  return label;
}

}  // namespace

TPrintForm::TPrintForm() : Report1(QStringLiteral("Report1")) {
  InstallReportPrinting();
  Report1.SetUnits(TQRUnit::MM);
  Report1.Page.SetOrientation(PaperOrientation::Portrait);
  Report1.Page.SetPaperSize(TQRPaperSize::A4);
  Report1.Page.LoadValues({100, 2970, 100, 2100, 100, 100, 0});
  Report1.SetZoom(100);
  CanvasFont font;
  font.family = QStringLiteral("Arial");
  font.pointSize = 10;
  font.color = Qt::black;
  Report1.SetFont(font);
  Report1.Frame = TQRFrame{};
  Report1.Options = {.FirstPageHeader = true, .LastPageFooter = true, .Compression = false};
  Report1.SetPrintIfEmpty(true);
  Report1.PrinterSettings = ReportPrintSettings{};
  Report1.SetReportTitle(QString());

  TitleBand1 = Report1.AddBand(QStringLiteral("TitleBand1"), TQRBandType::rbTitle);
  TitleBand1->Size.LoadValues({2775.479_f80, 1899.708_f80});
  TitleBand1->SetColor(Qt::white);
  TitleBand1->Frame = TQRFrame{};
  TitleBand1->SetAlignToBottom(false);
  TitleBand1->SetForceNewColumn(false);
  TitleBand1->SetForceNewPage(false);

  for (const LabelDef& def : kBeforeDrawing) this->*def.label = LoadLabel(*TitleBand1, def);

  QRImage1 = TitleBand1->Add<TQRImage>(QStringLiteral("QRImage1"));
  QRImage1->BeginLoading();
  QRImage1->Size.LoadValues({939.271_f80, 119.062_f80, 600.604_f80, 1672.167_f80});
  QRImage1->SetAutoSize(true);
  QRImage1->SetCenter(true);
  QRImage1->SetStretch(false);
  // Decoded when the page is first built: the first window does not wait for it.
  QRImage1->SetPicture(QSize(632, 355), [] { return AntennaDrawing(DrawingBackground::White); });

  for (const LabelDef& def : kAfterDrawing) this->*def.label = LoadLabel(*TitleBand1, def);

  Report1.Loaded();
  ReportPrinting& printing = Printing(Report1);
  QObject::connect(&printing, &ReportPrinting::ExportRequest, &printing,
                   [this](const QString& fileName) {
                     ExportPdf(Report1, fileName, PdfTitle(QRLabel3->Caption()));
                   });
}

TPrintForm::~TPrintForm() = default;

TQRLabel* TPrintForm::ValueLabel(ValueId which) const {
  for (std::span<const LabelDef> defs :
       {std::span<const LabelDef>(kBeforeDrawing), std::span<const LabelDef>(kAfterDrawing)}) {
    for (const LabelDef& def : defs) {
      if (def.value == which) return this->*def.label;
    }
  }
  return nullptr;
}

void TPrintForm::SetCaption(ValueId which, const QString& caption) {
  if (TQRLabel* label = ValueLabel(which)) label->SetCaption(caption);
}

void TPrintForm::Preview() {
  Report1.Preview();
}

}  // namespace hb9cv
