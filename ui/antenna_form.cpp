#include "ui/antenna_form.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/errors.h"
#include "calc/number_text.h"
#include "sim/model.h"
#include "sim/nec_runner.h"
#include "ui/antenna_charts.h"
#include "ui/error_report.h"

namespace hb9cv {
namespace {

std::string WindowWords(const char* source) {
  return QCoreApplication::translate("AntennaForm", source).toStdString();
}

QString Html(const std::string& utf8) {
  return QString::fromStdString(utf8).toHtmlEscaped();
}

}  // namespace

TAntennaForm::TAntennaForm(QWidget* owner, const QString& program)
    : QWidget(owner, Qt::Window), Runner(new SimulationRunner(this, program)) {
  setObjectName(QStringLiteral("AntennaForm"));
  setWindowTitle(QCoreApplication::translate("AntennaForm", "Popis antény HB9CV"));
  auto* layout = new QVBoxLayout(this);
  Description = new QLabel(QCoreApplication::translate("AntennaForm", AntennaDescription()), this);
  Description->setWordWrap(true);
  layout->addWidget(Description);

  SimulationBox = new QWidget(this);
  auto* box = new QVBoxLayout(SimulationBox);
  box->setContentsMargins(0, 0, 0, 0);
  auto* fields = new QHBoxLayout();
  DiameterEdit = new QLineEdit(SimulationBox);
  HeightEdit = new QLineEdit(SimulationBox);
  HeightEdit->setPlaceholderText(QCoreApplication::translate("AntennaForm", "volný prostor"));
  auto* diameterLabel =
      new QLabel(QCoreApplication::translate("AntennaForm", "&Průměr prvků [mm]:"), SimulationBox);
  diameterLabel->setBuddy(DiameterEdit);
  auto* heightLabel =
      new QLabel(QCoreApplication::translate("AntennaForm", "&Výška nad zemí [m]:"), SimulationBox);
  heightLabel->setBuddy(HeightEdit);
  SimulateButton =
      new QPushButton(QCoreApplication::translate("AntennaForm", "&Simulovat"), SimulationBox);
  SaveButton =
      new QPushButton(QCoreApplication::translate("AntennaForm", "&Uložit grafy…"), SimulationBox);
  SaveButton->setEnabled(false);
  for (QWidget* w : std::initializer_list<QWidget*>{diameterLabel, DiameterEdit, heightLabel,
                                                    HeightEdit, SimulateButton, SaveButton}) {
    fields->addWidget(w);
  }
  box->addLayout(fields);
  Status = new QLabel(SimulationBox);
  Status->setWordWrap(true);
  box->addWidget(Status);
  auto* numbers = new QHBoxLayout();
  Results = new QLabel(SimulationBox);
  Results->setTextInteractionFlags(Qt::TextSelectableByMouse);
  numbers->addWidget(Results);
  numbers->addStretch();
  box->addLayout(numbers);
  Corrected = new QLabel(SimulationBox);
  Corrected->setWordWrap(true);
  box->addWidget(Corrected);
  if (AntennaChartsFactory* factory = ChartsFactory()) {
    charts_ = factory->Create(SimulationBox);
    box->addWidget(charts_->Widget(), 1);
  }
  layout->addWidget(SimulationBox, 1);
  SimulationBox->hide();

  connect(SimulateButton, &QPushButton::clicked, this, [this] { Simulate(); });
  connect(DiameterEdit, &QLineEdit::returnPressed, this, [this] { Simulate(); });
  connect(HeightEdit, &QLineEdit::returnPressed, this, [this] { Simulate(); });
  connect(SaveButton, &QPushButton::clicked, this, GuardedSlot([this] { ChooseAndSave(); }));
  connect(Runner, &SimulationRunner::Finished, this, &TAntennaForm::OnFinished);
  connect(Runner, &SimulationRunner::Failed, this, &TAntennaForm::OnFailed);
  resize(charts_ ? 1000 : 640, charts_ ? 820 : 480);
}

TAntennaForm::~TAntennaForm() = default;

void TAntennaForm::SetDesign(const std::optional<DimensionSet>& design) {
  model_.SetDesign(design);
  if (!design) {
    Runner->Cancel();
    SimulationBox->hide();
    return;
  }
  SimulationBox->show();
  DiameterEdit->setPlaceholderText(QString::fromStdString(FloatToStr(DesignDiameterMm(*design))));
  Simulate();
}

void TAntennaForm::Simulate() {
  if (!model_.Design()) return;
  try {
    Runner->Start(
        model_.Request(DiameterEdit->text().toStdString(), HeightEdit->text().toStdString()));
    Status->setText(QCoreApplication::translate("AntennaForm", "Simuluje se (nec2c)…"));
  } catch (const Exception& e) {
    Runner->Cancel();
    OnFailed(TranslatedMessage(e));
  }
}

void TAntennaForm::OnFinished(const SimulationResults& r) {
  Status->setText(Html(AntennaFormModel::Heading(r, WindowWords)));
  QString table = QStringLiteral("<table>");
  for (const auto& [label, value] : AntennaFormModel::ResultLines(r, WindowWords)) {
    table += QStringLiteral("<tr><td>%1:&nbsp;&nbsp;</td><td><b>%2</b></td></tr>")
                 .arg(Html(label), Html(value));
  }
  Results->setText(table + QStringLiteral("</table>"));
  Corrected->setText(Html(AntennaFormModel::CorrectedText(*model_.Design(), r, WindowWords)));
  if (charts_) charts_->Show(r);
  SaveButton->setEnabled(charts_ != nullptr);
  emit Settled();
}

void TAntennaForm::OnFailed(const QString& message) {
  const QString failed =
      QCoreApplication::translate("AntennaForm", "Simulace se nezdařila: %1").arg(message);
  Status->setText(
      QStringLiteral("<span style='color:#b00000'>%1</span>").arg(failed.toHtmlEscaped()));
  Results->clear();
  Corrected->clear();
  if (charts_) charts_->Clear();
  SaveButton->setEnabled(false);
  emit Settled();
}

void TAntennaForm::SavePlots(const QString& base) {
  if (charts_) charts_->Save(base);
}

void TAntennaForm::ChooseAndSave() {
  const QString file = QFileDialog::getSaveFileName(
      this, QCoreApplication::translate("AntennaForm", "Uložit grafy"), QStringLiteral("hb9cv"),
      QCoreApplication::translate("AntennaForm", "Obrázky PNG a SVG (*.png *.svg)"));
  if (file.isEmpty()) return;
  QString base = file;
  for (const char* suffix : {".png", ".svg"}) {
    if (base.endsWith(QLatin1String(suffix))) base.chop(4);
  }
  SavePlots(base);
}

void AntennaWindow::Show() {
  if (form_ == nullptr) {
    form_ = new TAntennaForm(owner_);
    form_->SetDesign(model_.Design());
  }
  form_->show();
  form_->raise();
  form_->activateWindow();
}

void AntennaWindow::Follow(const QString& fieldText) {
  model_.SetDesign(AntennaFormModel::DesignOfField(fieldText.toStdString()));
  if (form_ != nullptr) form_->SetDesign(model_.Design());
}

void AntennaWindow::Clear() {
  model_.SetDesign(std::nullopt);
  if (form_ != nullptr) form_->SetDesign(std::nullopt);
}

}  // namespace hb9cv
