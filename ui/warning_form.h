#pragma once
// The zero-frequency warning: a red, borderless strip with one button that hides it again.
// Created once at start-up; shown, not modal, whenever a zero frequency is computed.
#include <QWidget>

class QPushButton;

namespace hb9cv {

class FormLabel;

class TForm3 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);

  // The window the warning belongs to, which the window system keeps it above; it takes
  // effect at the next ShowWarning() once the owner has been shown.
  void SetOwner(QWidget* owner);

  // Makes the window visible and brings it to the front; if it is already visible it is only
  // brought to the front. The main window stays usable.
  void ShowWarning();
  // "&Znovu": hides the window; the object stays for the next warning.
  void BitBtn1Click();

  FormLabel* Label1 = nullptr;
  QPushButton* BitBtn1 = nullptr;

  static constexpr QSize kClientSize{432, 43};

 private:
  QWidget* owner_ = nullptr;
};

}  // namespace hb9cv
