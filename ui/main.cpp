// Start-up: the number format, the application object, the three windows in their order,
// then the event loop until the main window closes.
#include "calc/number_text.h"
#include "report/print_form.h"
#include "ui/application.h"
#include "ui/command_line_run.h"
#include "ui/error_report.h"
#include "ui/main_form.h"
#include "ui/warning_form.h"

int main(int argc, char** argv) {
  hb9cv::ReadFormatSettings();
  // Options run without a window; none opens the window as always.
  if (argc > 1) return hb9cv::RunCommandLine(argc, argv);
  hb9cv::Application app(argc, argv);
  try {
    hb9cv::TForm1 form1;
    app.SetMainForm(&form1);
    hb9cv::TPrintForm printForm;  // hidden: it only holds the report
    form1.SetReport(&printForm);
    hb9cv::TForm3 form3;
    form1.SetWarningForm(&form3);

    hb9cv::ShowMainForm(form1);
    return app.exec();
  } catch (...) {
    // Only a damaged build gets here (an embedded picture that does not decode): say so.
    hb9cv::HandleException();
    return 1;
  }
}
