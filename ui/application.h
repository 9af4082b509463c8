#pragma once
#include <QApplication>

namespace hb9cv {

// The application object: title, icon, fonts, Qt's texts, the error backstop, the locale notice and
// the rule that closing the main window ends the program.
class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);

  // The first window created: when it closes the event loop ends, even while other windows
  // (the warning) are still visible.
  void SetMainForm(QWidget* form) { mainForm_ = form; }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  QWidget* mainForm_ = nullptr;
};

}  // namespace hb9cv
