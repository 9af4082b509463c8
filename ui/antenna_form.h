#pragma once
// "P&opis antény": the description of the antenna and the simulation of the design the main
// window computed last, in a window owned by the main window (one instance, not modal).
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

#include "calc/dimensions.h"
#include "sim/results.h"
#include "ui/antenna_form_model.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace hb9cv {

class AntennaCharts;
class SimulationRunner;

class TAntennaForm : public QWidget {
  Q_OBJECT
 public:
  // `program`: the nec2c to run.
  explicit TAntennaForm(QWidget* owner, const QString& program = QStringLiteral("nec2c"));
  ~TAntennaForm() override;

  // The design to show; none: the description alone. Starts a simulation.
  void SetDesign(const std::optional<DimensionSet>& design);
  // "&Simulovat": the design again with the fields' values. A value the model cannot take is
  // shown in the status line.
  void Simulate();
  // "&Uložit grafy…": the plots as PNG and SVG files named after `base`; throws Exception.
  void SavePlots(const QString& base);

  QLabel* Description = nullptr;
  QWidget* SimulationBox = nullptr;
  QLineEdit* DiameterEdit = nullptr;
  QLineEdit* HeightEdit = nullptr;
  QPushButton* SimulateButton = nullptr;
  QPushButton* SaveButton = nullptr;
  QLabel* Status = nullptr;
  QLabel* Results = nullptr;
  QLabel* Corrected = nullptr;
  SimulationRunner* Runner = nullptr;

 signals:
  // A simulation ended, with results or with the reason in Status.
  void Settled();

 private:
  void OnFinished(const SimulationResults& results);
  void OnFailed(const QString& message);
  void ChooseAndSave();

  AntennaFormModel model_;
  std::unique_ptr<AntennaCharts> charts_;
};

// Owns the description window for the main window: created when first shown, kept up to date
// with every computation.
class AntennaWindow : public QObject {
  Q_OBJECT
 public:
  explicit AntennaWindow(QWidget* owner) : QObject(owner), owner_(owner) {}

  void Show();
  // After "&Počítej" with the field's text; a zero clears.
  void Follow(const QString& fieldText);
  // After "&Nový".
  void Clear();
  TAntennaForm* Form() const { return form_; }

 private:
  QWidget* owner_;
  AntennaFormModel model_;
  QPointer<TAntennaForm> form_;
};

}  // namespace hb9cv
