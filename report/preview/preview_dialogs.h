#pragma once
// The modal questions of the preview window: printer setup, file names and a plain notice.
// The program asks the platform's dialogs; tests answer through a replacement, without a
// modal loop.
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "report/print/scoped_hook.h"

class QPrintDialog;
class QPrinter;
class QWidget;

namespace hb9cv {

struct PrintSetupRequest {
  QString printerName;  // selected when the dialog opens
  int minPage = 0;
  int maxPage = 9999;
  int fromPage = 0;  // 0: no range preset
  int toPage = 0;
  int copies = 1;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

struct PrintSetupChoice {
  QString printerName;
  int copies = 1;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  bool pageRange = false;  // false: all pages
  int fromPage = 0;
  int toPage = 0;
};

struct FileChoice {
  QString fileName;
  int filterIndex = 0;  // the entry of the filter list chosen, from 0
};

class PreviewDialogs {
 public:
  virtual ~PreviewDialogs() = default;
  // The print dialog; nullopt on cancel.
  virtual std::optional<PrintSetupChoice> PrintSetup(QWidget* parent,
                                                     const PrintSetupRequest& request) = 0;
  // `filter` in the platform's list form ("Description|*.ext|..."); nullopt on cancel.
  virtual std::optional<FileChoice> SaveFile(QWidget* parent, const QString& title,
                                             const QString& filter,
                                             const QString& defaultExtension) = 0;
  virtual std::optional<FileChoice> OpenFile(QWidget* parent, const QString& title,
                                             const QString& filter) = 0;
  // A plain box: no icon, one OK button.
  virtual void Notice(QWidget* parent, const QString& caption, const QString& text) = 0;
};

PreviewDialogs& Dialogs();
// Installs `dialogs` (not owned) and returns the one it replaces; nullptr restores the
// platform's.
PreviewDialogs* SetDialogs(PreviewDialogs* dialogs);

// The print dialog of the printer setup: it offers the printer, the copies and the page range,
// the only choices a print honours, and is accepted with "OK" (it prints nothing).
std::unique_ptr<QPrintDialog> MakePrintSetupDialog(QPrinter* printer, QWidget* parent);

// "Description|pattern|Description|pattern" to Qt's filter list. Each description keeps its
// text; the patterns in its parentheses (or appended in parentheses when it has none) match
// the extension in any letter case, so "*.QRP" finds report.qrp too.
QStringList ToQtFilters(const QString& filter);

}  // namespace hb9cv
