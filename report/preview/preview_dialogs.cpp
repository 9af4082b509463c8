#include "report/preview/preview_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <utility>

#include "calc/errors.h"

namespace hb9cv {

namespace {

class PlatformDialogs final : public PreviewDialogs {
 public:
  std::optional<PrintSetupChoice> PrintSetup(QWidget* parent,
                                             const PrintSetupRequest& request) override {
    // A printer at its driver's defaults, as the system-wide one the dialog works on.
    const QPrinterInfo info = QPrinterInfo::printerInfo(request.printerName);
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(request.orientation);
    printer.setCopyCount(request.copies);
    if (request.fromPage > 0) printer.setFromTo(request.fromPage, request.toPage);
    const std::unique_ptr<QPrintDialog> dialog = MakePrintSetupDialog(&printer, parent);
    dialog->setMinMax(request.minPage, request.maxPage);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    PrintSetupChoice choice;
    choice.printerName = printer.printerName();
    choice.copies = printer.copyCount();
    choice.orientation = printer.pageLayout().orientation();
    choice.pageRange = printer.printRange() == QPrinter::PageRange;
    choice.fromPage = printer.fromPage();
    choice.toPage = printer.toPage();
    return choice;
  }

  std::optional<FileChoice> SaveFile(QWidget* parent, const QString& title, const QString& filter,
                                     const QString& defaultExtension) override {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(defaultExtension);
    // A name typed without extension gets the one of the format chosen, not always the first.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, defaultExtension](const QString& chosen) {
          static const QRegularExpression ext(QStringLiteral("\\*\\.(\\w+)"));
          const auto match = ext.match(chosen);
          dialog.setDefaultSuffix(match.hasMatch() ? match.captured(1) : defaultExtension);
        });
    return Run(dialog, filter);
  }

  std::optional<FileChoice> OpenFile(QWidget* parent, const QString& title,
                                     const QString& filter) override {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist comes back too; the caller says so.
    dialog.setFileMode(QFileDialog::AnyFile);
    return Run(dialog, filter);
  }

  void Notice(QWidget* parent, const QString& caption, const QString& text) override {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
  }

 private:
  static std::optional<FileChoice> Run(QFileDialog& dialog, const QString& filter) {
    const QStringList filters = ToQtFilters(filter);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
      return std::nullopt;
    }
    FileChoice choice;
    choice.fileName = dialog.selectedFiles().first();
    choice.filterIndex =
        std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return choice;
  }
};

// Qt's print dialog offers more than a print honours: every build sets the paper, orientation
// and the rest of the device up from the report again, so a choice of paper, orientation,
// duplex, colour, page set, collation or output file would be silently dropped. Only the
// printer, the copies and the page range stay; and since the dialog only stores the choice,
// its accept button says "OK" rather than "Print".
class PrintSetupDialog final : public QPrintDialog {
 public:
  PrintSetupDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent) {
    setOptions(QAbstractPrintDialog::PrintPageRange);
    // Qt shows some of these again when another printer is picked.
    if (auto* printers = findChild<QComboBox*>(QStringLiteral("printers"))) {
      connect(
          printers, &QComboBox::currentIndexChanged, this, [this] { Restrict(); },
          Qt::QueuedConnection);
    }
  }

  void setVisible(bool visible) override {
    QPrintDialog::setVisible(visible);  // lays the widgets out for the options first
    if (visible) Restrict();
  }

 private:
  void Restrict() {
    // clang-format off
    static const char* const kIgnored[] = {
        "properties",     "preview",      "lOutput",          "filename",      "fileBrowser",
        "colorMode",      "duplex",       "pagesRadioButton", "pagesLineEdit", "printCurrentPage",
        "printSelection", "pageSetLabel", "pageSetCombo",     "collate",       "reverse",
    };
    // clang-format on
    for (const char* name : kIgnored) {
      if (auto* w = findChild<QWidget*>(QLatin1String(name))) w->setVisible(false);
    }
    // The options tab holds only colour and duplex.
    auto* tabs = findChild<QTabWidget*>(QStringLiteral("tabs"));
    auto* options = findChild<QWidget*>(QStringLiteral("optionsTab"));
    if (tabs && options && tabs->indexOf(options) >= 0) tabs->removeTab(tabs->indexOf(options));
    if (auto* box = findChild<QDialogButtonBox*>()) {
      if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) {
        ok->setText(QCoreApplication::translate("QPlatformTheme", "OK"));
      }
    }
  }
};

PreviewDialogs* gDialogs = nullptr;

// "*.QRP" -> "*.QRP *.qrp": both letter cases of the extension.
QString AnyCase(const QString& patterns) {
  QStringList out;
  for (const QString& p :
       patterns.split(QRegularExpression(QStringLiteral("[ ;]+")), Qt::SkipEmptyParts)) {
    for (const QString& variant : {p, p.toUpper(), p.toLower()}) {
      if (!out.contains(variant)) out << variant;
    }
  }
  return out.join(QLatin1Char(' '));
}

}  // namespace

PreviewDialogs& Dialogs() {
  static PlatformDialogs platform;
  return gDialogs != nullptr ? *gDialogs : platform;
}

PreviewDialogs* SetDialogs(PreviewDialogs* dialogs) {
  return std::exchange(gDialogs, dialogs);
}

std::unique_ptr<QPrintDialog> MakePrintSetupDialog(QPrinter* printer, QWidget* parent) {
  return std::make_unique<PrintSetupDialog>(printer, parent);
}

QStringList ToQtFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts.at(i);
    const QString patterns = AnyCase(parts.at(i + 1));
    static const QRegularExpression trailing(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch m = trailing.match(description);
    if (m.hasMatch()) {
      description.replace(m.capturedStart(1), m.capturedLength(1), patterns);
    } else {
      description += QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    result << description;
  }
  return result;
}

}  // namespace hb9cv
