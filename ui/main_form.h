#pragma once
// The main window: the frequency field, the wavelength line, the antenna drawing with the
// computed dimensions written at their places, and the menu bar with the four commands.
// The decisions of the commands live in main_form_model.h; this class only applies them.
#include <QMainWindow>
#include <vector>

#include "ui/main_form_model.h"
#include "ui/mask_edit.h"

class QAction;
class QMenuBar;

namespace hb9cv {

class AntennaWindow;
class ReportLink;
class TForm3;
class FormLabel;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);

  // The report whose captions the commands fill and which "&Tisk" previews; may stay null
  // (the captions then go nowhere).
  void SetReport(ReportLink* report) { report_ = report; }
  // The zero-frequency warning that "&Počítej" shows; may stay null. It becomes a window owned
  // by this one, and F5 computes from it too.
  void SetWarningForm(TForm3* warning);

  // The commands. Potej1Click throws EConvertError when the field does not hold a number;
  // the menu reaches them through Guarded(), which shows the error box.
  void Potej1Click();
  void Nov1Click();
  void Tisk1Click();
  void Konec1Click();

  // The field's Text: eight characters, the comma in the fifth.
  QString FieldText() const;
  void SetFieldText(const QString& text);

  // The window's label of a value; nullptr for a value the window does not show.
  FormLabel* WindowLabel(ValueId value) const;

  // Controls, by their component names.
  FormLabel* Label1 = nullptr;
  TMaskEdit* MaskEdit1 = nullptr;
  FormLabel* Label7 = nullptr;
  FormLabel* Label3 = nullptr;
  FormLabel* Label_Lambda = nullptr;
  QWidget* Panel1 = nullptr;
  QWidget* Image1 = nullptr;
  FormLabel* Label2 = nullptr;
  FormLabel* Label_Z = nullptr;
  FormLabel* Label_R = nullptr;
  FormLabel* Label_RZ = nullptr;
  FormLabel* Label_x = nullptr;
  FormLabel* Label_Tz = nullptr;
  FormLabel* Label_Tr = nullptr;
  FormLabel* Label_Q = nullptr;
  FormLabel* Label4 = nullptr;
  FormLabel* Label5 = nullptr;

  QMenuBar* MainMenu1 = nullptr;
  QAction* Potej1 = nullptr;
  QAction* N1 = nullptr;
  QAction* Nov1 = nullptr;
  QAction* N2 = nullptr;
  QAction* Tisk1 = nullptr;
  QAction* N4 = nullptr;
  QAction* Popis1 = nullptr;
  QAction* N5 = nullptr;
  QAction* Oaplikaci1 = nullptr;
  QAction* N3 = nullptr;
  QAction* Konec1 = nullptr;

  // The area below the menu bar, and the whole window with a classic frame and caption, at
  // 96 dpi; the window is centred by the latter.
  static constexpr QSize kClientSize{654, 462};
  static constexpr QSize kOuterSize{662, 508};

 private:
  void Apply(const std::vector<CaptionWrite>& writes);
  // The frequency row above the drawing: prompt, field, unit and the wavelength.
  void CreateFieldRow(QWidget* client);
  // The drawing and the labels over it.
  void CreateDrawing(QWidget* client);
  // The captions of the layout table that sit on `parent`.
  void CreateLabels(QWidget* parent, bool overDrawing);
  void CreateMenu();
  QAction* AddMenuItem(const char* name, const QString& caption, bool enabled);

  ReportLink* report_ = nullptr;
  TForm3* warning_ = nullptr;
  AntennaWindow* antenna_ = nullptr;  // "P&opis antény", following every computation
};

// Shows the main window at start-up: in the state the desktop asked for where it asks for
// one (Qt applies it on the first show), otherwise normal and centred on the screen.
void ShowMainForm(TForm1& form);

}  // namespace hb9cv
