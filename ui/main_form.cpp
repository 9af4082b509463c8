#include "ui/main_form.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>
#include <QPainter>
#include <optional>
#include <utility>

#include "calc/errors.h"
#include "report/preview/window_place.h"
#include "report/report_link.h"
#include "resources/drawing.h"
#include "ui/about_box.h"
#include "ui/antenna_form.h"
#include "ui/error_report.h"
#include "ui/forms.h"
#include "ui/label.h"
#include "ui/language.h"
#include "ui/mask_edit.h"
#include "ui/warning_form.h"

namespace hb9cv {
namespace {

// A panel with a raised outer and a lowered inner bevel, one pixel each.
class TPanel : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    Bevel(p, rect(), light, shadow);
    Bevel(p, rect().adjusted(1, 1, -1, -1), shadow, light);
  }

 private:
  static void Bevel(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    p.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
    p.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
    p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
    p.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
  }
};

// The drawing, at its own size and centred in the control.
class TImage : public QWidget {
 public:
  TImage(QImage picture, QWidget* parent) : QWidget(parent), picture_(std::move(picture)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(QPoint((width() - picture_.width()) / 2, (height() - picture_.height()) / 2),
                picture_);
  }

 private:
  QImage picture_;
};

// The captions in 11-pixel type: the wavelength beside the field, and the ones over the
// drawing in panel pixels. A value's label has its description, so a screen reader (and
// anything else reading the accessibility tree) can tell them apart: its caption is its
// accessible name.
struct LabelPlace {
  FormLabel* TForm1::*label;
  const char* name;
  std::optional<ValueId> value;
  bool overDrawing;
  int x;
  int y;
  const char* caption;      // UTF-8, translated when shown
  const char* description;  // UTF-8, translated when shown; nullptr: none
};

// clang-format off
constexpr LabelPlace kLabelPlaces[] = {
    {&TForm1::Label3, "Label3", {}, false, 176, 52, QT_TRANSLATE_NOOP("TForm1", "Vlnová délka :"), nullptr},
    {&TForm1::Label_Lambda, "Label_Lambda", ValueId::Wavelength, false, 248, 52, "0",
     QT_TRANSLATE_NOOP("TForm1", "Vlnová délka")},
    {&TForm1::Label2, "Label2", {}, true, 283, 24, QT_TRANSLATE_NOOP("TForm1", "Směr       vyzařování"), nullptr},
    {&TForm1::Label_Z, "Label_Z", ValueId::Z, true, 181, 8, QT_TRANSLATE_NOOP("TForm1", "Zářič"), QT_TRANSLATE_NOOP("TForm1", "Délka zářiče")},
    {&TForm1::Label_R, "Label_R", ValueId::R, true, 156, 272, QT_TRANSLATE_NOOP("TForm1", "Reflektor"), QT_TRANSLATE_NOOP("TForm1", "Délka reflektoru")},
    {&TForm1::Label_RZ, "Label_RZ", ValueId::RZ, true, 556, 148, "0",
     QT_TRANSLATE_NOOP("TForm1", "Vzdálenost reflektoru od zářiče")},
    {&TForm1::Label_x, "Label_x", ValueId::x, true, 460, 76, "0",
     QT_TRANSLATE_NOOP("TForm1", "Vzdálenost x napájecího vedení od zářiče")},
    {&TForm1::Label_Tz, "Label_Tz", ValueId::Tz, true, 344, 104, "0", QT_TRANSLATE_NOOP("TForm1", "Odbočka Tz na zářiči")},
    {&TForm1::Label_Tr, "Label_Tr", ValueId::Tr, true, 204, 192, "0", QT_TRANSLATE_NOOP("TForm1", "Odbočka Tr na reflektoru")},
    {&TForm1::Label_Q, "Label_Q", ValueId::Diameter, true, 104, 70, "0", QT_TRANSLATE_NOOP("TForm1", "Průměr prvků")},
    {&TForm1::Label4, "Label4", {}, true, 376, 312,
     QT_TRANSLATE_NOOP("TForm1", "Svorky X a X' slouží k připojení koaxiálního kabelu,"), nullptr},
    {&TForm1::Label5, "Label5", {}, true, 376, 324, QT_TRANSLATE_NOOP("TForm1", "X' - střední vodič, X - opletení."), nullptr},
};
// clang-format on

// A caption of the layout table in the user's language.
QString Tr(const char* text) {
  return QCoreApplication::translate("TForm1", text);
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QCoreApplication::translate("TForm1", "Výpočet rozměrů antény typu HB9CV"));
  setWindowIcon(AppIcon());
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  setFont(WindowFont(11));

  auto* client = new QWidget(this);
  client->setAutoFillBackground(true);
  setCentralWidget(client);
  CreateFieldRow(client);
  CreateDrawing(client);
  CreateMenu();

  resize(kClientSize.width(), MainMenu1->sizeHint().height() + kClientSize.height());

  // The field is the only control that takes the focus; it starts with all its text selected.
  MaskEdit1->selectAll();
  MaskEdit1->setFocus();
}

void TForm1::CreateFieldRow(QWidget* client) {
  const QFont bold16 = WindowFont(16, true);
  Label1 = new FormLabel(QStringLiteral("Label1"),
                         QCoreApplication::translate("TForm1", "Vlož kmitočet ="), bold16, client);
  Label1->move(140, 16);

  // The frequency field; its only construction site.
  MaskEdit1 = new TMaskEdit(client);
  MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
  MaskEdit1->SetEditMask(QString::fromLatin1(kFieldEditMask));
  MaskEdit1->SetMaxLength(kFieldMaxLength);
  MaskEdit1->SetText(QString::fromLatin1(kFieldResetText));
  MaskEdit1->setGeometry(276, 12, 93, 32);
  MaskEdit1->setFont(WindowFont(19, true));
  QPalette aqua = MaskEdit1->palette();
  aqua.setColor(QPalette::Base, QColor(0, 255, 255));
  MaskEdit1->setPalette(aqua);

  Label7 = new FormLabel(QStringLiteral("Label7"), QStringLiteral("[MHz]"), bold16, client);
  Label7->move(376, 16);
  CreateLabels(client, false);
}

void TForm1::CreateDrawing(QWidget* client) {
  Panel1 = new TPanel(client);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(6, 78, 641, 378);
  Image1 = new TImage(AntennaDrawing(DrawingBackground::Grey), Panel1);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(2, 2, 637, 374);
  CreateLabels(Panel1, true);
  Label_Z->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  MaskEdit1->setAccessibleName(QCoreApplication::translate("TForm1", "Kmitočet v MHz"));
}

void TForm1::CreateLabels(QWidget* parent, bool overDrawing) {
  const QFont normal = WindowFont(11);
  for (const LabelPlace& place : kLabelPlaces) {
    if (place.overDrawing != overDrawing) continue;
    FormLabel* label =
        new FormLabel(QString::fromLatin1(place.name), Tr(place.caption), normal, parent);
    label->move(place.x, place.y);
    if (place.description != nullptr) {
      label->setAccessibleDescription(Tr(place.description));
    }
    this->*place.label = label;
  }
}

void TForm1::CreateMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  MainMenu1->setNativeMenuBar(false);  // top-level commands without submenus stay in the window
  const QString gap = QStringLiteral(" ");
  Potej1 = AddMenuItem("Potej1", QCoreApplication::translate("TForm1", "&Počítej"), true);
  N1 = AddMenuItem("N1", gap, false);
  Nov1 = AddMenuItem("Nov1", QCoreApplication::translate("TForm1", "&Nový"), false);
  N2 = AddMenuItem("N2", gap, false);
  Tisk1 = AddMenuItem("Tisk1", QCoreApplication::translate("TForm1", "&Tisk"), false);
  N4 = AddMenuItem("N4", gap, false);
  Popis1 = AddMenuItem("Popis1", QCoreApplication::translate("TForm1", "P&opis antény"), true);
  N5 = AddMenuItem("N5", gap, false);
  Oaplikaci1 =
      AddMenuItem("Oaplikaci1", QCoreApplication::translate("TForm1", "O &aplikaci"), true);
  N3 = AddMenuItem("N3", gap, false);
  Konec1 = AddMenuItem("Konec1", QCoreApplication::translate("TForm1", "&Konec"), true);

  // F5 computes from anywhere in the window, the field included.
  Potej1->setShortcut(QKeySequence(Qt::Key_F5));
  Potej1->setShortcutContext(Qt::WindowShortcut);
  connect(Potej1, &QAction::triggered, this, GuardedSlot([this] { Potej1Click(); }));
  connect(Nov1, &QAction::triggered, this, GuardedSlot([this] { Nov1Click(); }));
  connect(Tisk1, &QAction::triggered, this, GuardedSlot([this] { Tisk1Click(); }));
  connect(Konec1, &QAction::triggered, this, GuardedSlot([this] { Konec1Click(); }));
  antenna_ = new AntennaWindow(this);
  connect(Popis1, &QAction::triggered, this, GuardedSlot([this] { antenna_->Show(); }));
  connect(Oaplikaci1, &QAction::triggered, this, GuardedSlot([this] { ShowAboutBox(this); }));
}

QAction* TForm1::AddMenuItem(const char* name, const QString& caption, bool enabled) {
  QAction* item = MainMenu1->addAction(caption);
  item->setObjectName(QString::fromLatin1(name));
  item->setEnabled(enabled);
  return item;
}

void TForm1::SetWarningForm(TForm3* warning) {
  if (warning_ != nullptr) warning_->removeAction(Potej1);
  warning_ = warning;
  if (warning_ == nullptr) return;
  warning_->SetOwner(this);
  // The warning takes the focus on every zero; F5 computes from there as from the main window.
  warning_->addAction(Potej1);
}

QString TForm1::FieldText() const {
  return MaskEdit1->Text();
}

void TForm1::SetFieldText(const QString& text) {
  MaskEdit1->SetText(text);
}

FormLabel* TForm1::WindowLabel(ValueId value) const {
  for (const LabelPlace& place : kLabelPlaces) {
    if (place.value == value) return this->*place.label;
  }
  return nullptr;
}

void TForm1::Apply(const std::vector<CaptionWrite>& writes) {
  for (const CaptionWrite& write : writes) {
    const QString text = QString::fromStdString(write.text);
    if (write.on == LabelSet::Report) {
      if (report_ != nullptr) report_->SetCaption(write.value, text);
    } else if (FormLabel* label = WindowLabel(write.value)) {
      label->SetCaption(text);
    }
  }
}

void TForm1::Potej1Click() {
  const ComputeOutcome outcome = ComputeFromField(FieldText().toStdString(), DiameterWords());
  if (outcome.zero) {
    Tisk1->setEnabled(false);
    Nov1->setEnabled(false);
    if (warning_ != nullptr) warning_->ShowWarning();
    antenna_->Clear();
    return;
  }
  Tisk1->setEnabled(true);
  Nov1->setEnabled(true);
  Apply(outcome.writes);
  antenna_->Follow(FieldText());
}

void TForm1::Nov1Click() {
  SetFieldText(QString::fromLatin1(kFieldResetText));
  MaskEdit1->setFocus();
  Apply(ResetWrites());
  antenna_->Clear();
}

void TForm1::Tisk1Click() {
  if (report_ != nullptr) report_->Preview();
}

void TForm1::Konec1Click() {
  close();
}

void ShowMainForm(TForm1& form) {
  CentreOnScreen(form, TForm1::kOuterSize);
  form.show();
}

}  // namespace hb9cv
