#include "ui/main_form.h"

#include <QAction>
#include <QMenuBar>
#include <QPainter>
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
  static void Bevel(QPainter& p, const QRect& r, const QColor& top_left,
                    const QColor& bottom_right) {
    p.fillRect(r.left(), r.top(), r.width(), 1, top_left);
    p.fillRect(r.left(), r.top(), 1, r.height(), top_left);
    p.fillRect(r.left(), r.bottom(), r.width(), 1, bottom_right);
    p.fillRect(r.right(), r.top(), 1, r.height(), bottom_right);
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

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Výpočet rozměrů antény typu HB9CV"));
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
  Label1 =
      new FormLabel(QStringLiteral("Label1"), QStringLiteral("Vlož kmitočet ="), bold16, client);
  Label1->move(140, 16);

  // The frequency field; its only construction site.
  MaskEdit1 = new TMaskEdit(client);
  MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
  MaskEdit1->SetEditMask(QStringLiteral("9999,999;1;_"));
  MaskEdit1->SetMaxLength(8);
  MaskEdit1->SetText(QString::fromLatin1(kFieldResetText));
  MaskEdit1->setGeometry(276, 12, 93, 32);
  MaskEdit1->setFont(WindowFont(19, true));
  QPalette aqua = MaskEdit1->palette();
  aqua.setColor(QPalette::Base, QColor(0, 255, 255));
  MaskEdit1->setPalette(aqua);

  Label7 = new FormLabel(QStringLiteral("Label7"), QStringLiteral("[MHz]"), bold16, client);
  Label7->move(376, 16);
  const QFont normal = WindowFont(11);
  Label3 =
      new FormLabel(QStringLiteral("Label3"), QStringLiteral("Vlnová délka :"), normal, client);
  Label3->move(176, 52);
  Label_Lambda = new FormLabel(QStringLiteral("Label_Lambda"), QStringLiteral("0"), normal, client);
  Label_Lambda->move(248, 52);
}

void TForm1::CreateDrawing(QWidget* client) {
  Panel1 = new TPanel(client);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(6, 78, 641, 378);
  Image1 = new TImage(AntennaDrawing(DrawingBackground::Grey), Panel1);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(2, 2, 637, 374);
  const QFont normal = WindowFont(11);

  // Over the drawing, in panel pixels.
  struct Place {
    FormLabel** label;
    const char* name;
    int x;
    int y;
    QString caption;
  };
  // clang-format off
  const Place places[] = {
      {&Label2, "Label2", 283, 24, QStringLiteral("Směr       vyzařování")},
      {&Label_Z, "Label_Z", 181, 8, QStringLiteral("Zářič")},
      {&Label_R, "Label_R", 156, 272, QStringLiteral("Reflektor")},
      {&Label_RZ, "Label_RZ", 556, 148, QStringLiteral("0")},
      {&Label_x, "Label_x", 460, 76, QStringLiteral("0")},
      {&Label_Tz, "Label_Tz", 344, 104, QStringLiteral("0")},
      {&Label_Tr, "Label_Tr", 204, 192, QStringLiteral("0")},
      {&Label_Q, "Label_Q", 104, 70, QStringLiteral("0")},
      {&Label4, "Label4", 376, 312,
       QStringLiteral("Svorky X a X' slouží k připojení koaxiálního kabelu,")},
      {&Label5, "Label5", 376, 324, QStringLiteral("X' - střední vodič, X - opletení.")},
  };
  // clang-format on
  for (const Place& place : places) {
    *place.label = new FormLabel(QString::fromLatin1(place.name), place.caption, normal, Panel1);
    (*place.label)->move(place.x, place.y);
  }
  Label_Z->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  // A label's caption is its accessible name; the description says which value it is, so a
  // screen reader (and anything else reading the accessibility tree) can tell them apart.
  // clang-format off
  const std::pair<FormLabel*, const char*> descriptions[] = {
      {Label_Lambda, "Vlnová délka"},
      {Label_Z, "Délka zářiče"},
      {Label_R, "Délka reflektoru"},
      {Label_RZ, "Vzdálenost reflektoru od zářiče"},
      {Label_x, "Vzdálenost x napájecího vedení od zářiče"},
      {Label_Tz, "Odbočka Tz na zářiči"},
      {Label_Tr, "Odbočka Tr na reflektoru"},
      {Label_Q, "Průměr prvků"},
  };
  // clang-format on
  for (const auto& [label, description] : descriptions) {
    label->setAccessibleDescription(QString::fromUtf8(description));
  }
  MaskEdit1->setAccessibleName(QStringLiteral("Kmitočet v MHz"));
}

void TForm1::CreateMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  MainMenu1->setNativeMenuBar(false);  // top-level commands without submenus stay in the window
  const QString gap = QStringLiteral(" ");
  Potej1 = AddMenuItem("Potej1", QStringLiteral("&Počítej"), true);
  N1 = AddMenuItem("N1", gap, false);
  Nov1 = AddMenuItem("Nov1", QStringLiteral("&Nový"), false);
  N2 = AddMenuItem("N2", gap, false);
  Tisk1 = AddMenuItem("Tisk1", QStringLiteral("&Tisk"), false);
  N4 = AddMenuItem("N4", gap, false);
  Popis1 = AddMenuItem("Popis1", QStringLiteral("P&opis antény"), true);
  N5 = AddMenuItem("N5", gap, false);
  Oaplikaci1 = AddMenuItem("Oaplikaci1", QStringLiteral("O &aplikaci"), true);
  N3 = AddMenuItem("N3", gap, false);
  Konec1 = AddMenuItem("Konec1", QStringLiteral("&Konec"), true);

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

FormLabel* TForm1::WindowLabel(ValuePlace place) const {
  switch (place) {
    case ValuePlace::Label_Lambda:
      return Label_Lambda;
    case ValuePlace::Label_Z:
      return Label_Z;
    case ValuePlace::Label_R:
      return Label_R;
    case ValuePlace::Label_RZ:
      return Label_RZ;
    case ValuePlace::Label_x:
      return Label_x;
    case ValuePlace::Label_Tz:
      return Label_Tz;
    case ValuePlace::Label_Tr:
      return Label_Tr;
    case ValuePlace::Label_Q:
      return Label_Q;
    default:
      return nullptr;
  }
}

void TForm1::Apply(const std::vector<CaptionWrite>& writes) {
  for (const CaptionWrite& write : writes) {
    const QString text = QString::fromStdString(write.text);
    if (IsReportPlace(write.place)) {
      if (report_ != nullptr) report_->SetCaption(ReportValueOf(write.place), text);
    } else if (FormLabel* label = WindowLabel(write.place)) {
      label->SetCaption(text);
    }
  }
}

void TForm1::Potej1Click() {
  const ComputeOutcome outcome = ComputeFromField(FieldText().toStdString());
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
