#include "ui/command_line_run.h"

#include <QApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "calc/errors.h"
#include "report/preview/pdf_export.h"
#include "report/print_form.h"
#include "report/render/fonts.h"
#include "ui/command_line.h"
#include "ui/error_report.h"
#include "ui/main_form_model.h"

namespace hb9cv {

namespace {

void Fail(const std::string& message) {
  std::fprintf(stderr, "hb9cv: %s\n", message.c_str());
}

// The report page for one frequency, on every output asked for.
int WritePage(const CommandLineOptions& options, const char* program) {
  // No window opens, so no display is needed: without one the offscreen platform stands in,
  // unless the user chose a platform.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // Qt's notices (a missing runtime folder, the offscreen platform's limits) are no concern
  // of a run that reports its own errors.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::fprintf(stderr, "hb9cv: %s\n", qPrintable(message));
    }
  });
  int argc = 1;
  char* argv[] = {const_cast<char*>(program), nullptr};
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
  InstallFontSubstitutions();

  try {
    TPrintForm form;
    // The window's own computation decides the captions; it was checked before.
    std::string unused;
    const std::string field = FrequencyFieldText(options.frequencies.front(), unused).value();
    QString frequencyText;
    for (const CaptionWrite& write : ComputeFromField(field).writes) {
      if (!IsReportPlace(write.place)) continue;
      const QString text = QString::fromStdString(write.text);
      form.SetCaption(ReportValueOf(write.place), text);
      if (write.place == ValuePlace::QRLabel3) frequencyText = text;
    }
    form.Report1.SetShowProgress(false);
    if (options.pdf) {
      ExportPdf(form.Report1, QString::fromLocal8Bit(*options.pdf), PdfTitle(frequencyText));
    }
    if (options.report) SaveReportFile(form.Report1, QString::fromLocal8Bit(*options.report));
    if (options.print) PrintOnQueue(form.Report1, QString::fromLocal8Bit(*options.print));
  } catch (const Exception& e) {
    Fail(e.Message());
    return kExitFailure;
  } catch (const std::exception& e) {
    Fail(e.what());
    return kExitFailure;
  }
  return 0;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const auto parsed = ParseCommandLine(args);
  if (const auto* error = std::get_if<CommandLineError>(&parsed)) {
    std::fprintf(stderr, "hb9cv: %s\nTry 'hb9cv --help' for more information.\n",
                 error->message.c_str());
    return kExitUsage;
  }
  const auto& options = std::get<CommandLineOptions>(parsed);
  if (const std::optional<int> code = RunWithoutDisplay(options)) return *code;
  if (options.mode != CommandLineOptions::Mode::Compute) return kExitUsage;
  return WritePage(options, argv[0]);
}

}  // namespace hb9cv
