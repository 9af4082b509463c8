#include "ui/command_line_run.h"

#include <QApplication>
#include <QString>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "calc/errors.h"
#include "calc/value_table.h"
#include "field/typed_frequency.h"
#include "report/preview/pdf_export.h"
#include "report/print_form.h"
#include "report/render/fonts.h"
#include "ui/command_line.h"
#include "ui/error_report.h"
#include "ui/language.h"

namespace hb9cv {

namespace {

// Writes all of `text` to standard output; an output that fails (a full disk, a closed pipe)
// is a failure of the run.
void Print(const std::string& text) {
  if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
    throw Exception(HB9CV_TRANSLATE_NOOP("Errors", "cannot write to standard output"), {});
  }
}

// The application object a run needs: for a page the widgets' one (fonts, printers), else a
// plain one for the translations. Qt keeps a reference to argc and argv.
std::unique_ptr<QCoreApplication> StartApplication(bool page, const char* program) {
  static int argc = 1;
  static char* argv[] = {const_cast<char*>(program), nullptr};
  std::unique_ptr<QCoreApplication> app;
  if (page) {
    // No window opens, so no display is needed. The offscreen platform stands in whatever
    // DISPLAY says: a display that is gone (a stale remote login) would otherwise abort the
    // run before anything is written.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notices (a missing runtime folder, the offscreen platform's limits) are no concern
    // of a run that reports its own errors.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
      if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "hb9cv: %s\n", qPrintable(message));
      }
    });
    app = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    InstallFontSubstitutions();
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  InstallQtTranslation();
  return app;
}

// The report page for one computation, on every output asked for.
void WritePage(const CommandLineOptions& options, const DimensionSet& values) {
  TPrintForm form;
  for (const ValueRow& row : kValueTable) {
    if (row.onReport) form.SetCaption(row.id, QString::fromStdString(values.*row.text));
  }
  form.Report1.SetShowProgress(false);
  if (options.pdf) {
    ExportPdf(form.Report1, QString::fromLocal8Bit(*options.pdf),
              PdfTitle(QString::fromStdString(values.frequency_text)));
  }
  if (options.report) SaveReportFile(form.Report1, QString::fromLocal8Bit(*options.report));
  if (options.print) PrintOnQueue(form.Report1, QString::fromLocal8Bit(*options.print));
}

int Run(const CommandLineOptions& options) {
  switch (options.mode) {
    case CommandLineOptions::Mode::Window:
      return kExitUsage;
    case CommandLineOptions::Mode::Help:
      Print(QCoreApplication::translate("CommandLine", UsageText().c_str()).toStdString());
      return 0;
    case CommandLineOptions::Mode::Version:
      Print(VersionText());
      return 0;
    case CommandLineOptions::Mode::Compute:
      break;
  }
  if (options.simulate.Wanted()) {
    Print(RunSimulate(options.simulate, ReadFrequency(options.frequencies.front()), options.json));
    return 0;
  }
  std::vector<DimensionSet> blocks;
  for (const std::string& typed : options.frequencies) {
    blocks.push_back(ComputeDimensions(ReadFrequency(typed), DiameterWords()));
  }
  // With a page asked for, the values follow only when asked for and only once the page is
  // written, so a failed output leaves nothing behind on standard output either.
  if (options.WantsPage()) WritePage(options, blocks.front());
  if (options.json) {
    Print(FormatJson(blocks, blocks.size() > 1));
  } else if (!options.WantsPage()) {
    Print(FormatText(blocks));
  }
  return 0;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  CommandLineOptions options;
  try {
    options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const CommandLineError& e) {
    const std::unique_ptr<QCoreApplication> app = StartApplication(false, argv[0]);
    const QString hint =
        QCoreApplication::translate("CommandLine", "Try 'hb9cv --help' for more information.");
    std::fprintf(stderr, "hb9cv: %s\n%s\n", TranslatedMessage(e).toUtf8().constData(),
                 hint.toUtf8().constData());
    return kExitUsage;
  }
  const std::unique_ptr<QCoreApplication> app = StartApplication(options.WantsPage(), argv[0]);
  try {
    return Run(options);
  } catch (const Exception& e) {
    std::fprintf(stderr, "hb9cv: %s\n", TranslatedMessage(e).toUtf8().constData());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "hb9cv: %s\n", e.what());
  }
  return kExitFailure;
}

}  // namespace hb9cv
