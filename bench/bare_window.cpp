// Baseline for the start-up measurement: the smallest Qt Widgets program with a main window,
// a menu bar and a label, linked like the real program.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.menuBar()->addAction(QStringLiteral("&File"));
  window.setCentralWidget(new QLabel(QStringLiteral("bare")));
  window.resize(662, 508);
  window.show();
  return app.exec();
}
