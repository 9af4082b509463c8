// Where start-up time goes: the steps of main() timed one by one, in the order main() takes
// them, until the main window has been painted once.
//
//   startup_steps        prints "step<TAB>milliseconds" lines
#include <QElapsedTimer>
#include <QWindow>
#include <cstdio>

#include "calc/number_text.h"
#include "report/print_form.h"
#include "ui/application.h"
#include "ui/error_report.h"
#include "ui/main_form.h"
#include "ui/warning_form.h"

int main(int argc, char** argv) {
  QElapsedTimer timer;
  timer.start();
  qint64 last = 0;
  const auto step = [&](const char* name) {
    const qint64 now = timer.nsecsElapsed();
    std::printf("%s\t%.3f\n", name, (now - last) / 1e6);
    last = now;
  };
  hb9cv::ReadFormatSettings();
  step("ReadFormatSettings");
  hb9cv::Application app(argc, argv);
  step("Application");
  hb9cv::TForm1 form1;
  app.SetMainForm(&form1);
  step("TForm1");
  hb9cv::TPrintForm print_form;
  form1.SetReport(&print_form);
  step("TPrintForm");
  hb9cv::TForm3 form3;
  form1.SetWarningForm(&form3);
  step("TForm3");
  hb9cv::ShowMainForm(form1);
  // The step timed is the window reaching the screen and painting, which happens in events.
  while (!form1.windowHandle()->isExposed()) app.processEvents();
  app.processEvents();
  step("shown and painted");
  return 0;
}
