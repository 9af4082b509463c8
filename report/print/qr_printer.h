#pragma once
// The report printer: receives one build of a report, either as page pictures kept in a page
// list (for the preview and report files) or straight on a printer.
//
// It tells the windows and the report about its work through Qt signals. Notices to its client
// window and print requests to its report go through the event queue (Qt::QueuedConnection):
// each arrives after the events posted before it, and none reaches a receiver that is gone. A
// close request is handled before the sender goes on (a direct connection).
#include <QObject>
#include <QPainter>
#include <QPointer>
#include <QString>
#include <cstddef>
#include <memory>

#include "report/model/qr_device.h"
#include "report/print/printer_settings.h"
#include "report/render/metafile.h"

namespace hb9cv {

class EmfRecorder;
class QPainterCanvas;
class TQRPageList;
class TCustomReport;

enum class PrinterDestination { PicturePages, Printer };
enum class PrinterStatus { Ready, Busy, Finished };

// The window a report printer reports its pages and progress to: the preview control or the
// progress window.
class QRPrinterClient {
 public:
  // Pages up to `availablePages` are finished.
  virtual void PageFinished(int availablePages) = 0;
  virtual void ProgressUpdate(int percent) = 0;

 protected:
  ~QRPrinterClient() = default;
};

class TQRPrinter : public QObject, public QRDevice {
  Q_OBJECT
 public:
  explicit TQRPrinter(QObject* parent = nullptr);
  ~TQRPrinter() override;

  PrinterDestination Destination() const { return destination_; }
  void SetDestination(PrinterDestination destination) { destination_ = destination; }
  PrinterStatus Status() const { return status_; }
  int PageCount() const { return pageCount_; }
  int PageNumber() const { return pageNumber_; }
  int AvailablePages() const { return availablePages_; }
  const QString& Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }

  // The client window, or none: PageFinished and ProgressUpdate are queued to it.
  QObject* Client() const { return client_; }
  template <class Window>
  void SetClient(Window* window) {
    AttachClient(window, window);
  }
  void SetClient(std::nullptr_t) { AttachClient(nullptr, nullptr); }
  // The client window of `other` becomes this printer's too.
  void TakeClient(const TQRPrinter& other);
  // The report that made this printer; the object that acts for it connects to PrintRequest
  // and CloseRequest.
  TCustomReport* ParentReport() const { return parentReport_; }
  void SetParentReport(TCustomReport* report) { parentReport_ = report; }

  // Pages that go to paper; 0 means no bound.
  int FirstPage() const { return firstPage_; }
  int LastPage() const { return lastPage_; }
  void SetFirstPage(int page) { firstPage_ = page; }
  void SetLastPage(int page) { lastPage_ = page; }

  // The system had a printer when this report printer was made.
  bool PrinterOK() const { return printerOK_; }
  bool LoadedFromFile() const { return loadedFromFile_; }
  bool ShowingPreview() const { return showingPreview_; }
  // Turning it off cancels a build still running and tells the report the preview is over.
  void SetShowingPreview(bool showing);
  // Stored pages are being sent to the printer (Print of a loaded file).
  bool PrintingStoredPages() const { return printingStored_; }

  TPrinterSettings& PrinterSettings() { return settings_; }
  const TPrinterSettings& PrinterSettings() const { return settings_; }
  TQRPageList& PageList() { return *pageList_; }

  // Output device.
  Float80 XFactor() const override { return xFactor_; }
  Float80 YFactor() const override { return yFactor_; }
  int LeftOffset() const override { return leftOffset_; }
  int TopOffset() const override { return topOffset_; }
  Float80 PaperWidth() const override;
  Float80 PaperLength() const override;
  void PrepareBuild(const TCustomReport& report) override;
  void BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;
  Canvas& PageCanvas() override;

  // Page `n` as a new picture; a null picture while nothing is built or n is out of range.
  Metafile GetPage(int n);

  // Operations of the preview window.
  void Preview();
  // A printer with a parent report asks it for a print run (PrintRequest); one loaded from a
  // file prints its stored pages.
  void Print();
  // Emits PrintSetupRequest.
  void PrintSetup();
  // Whether something takes ExportRequest: the report can be written as a PDF file.
  bool OffersExport() const;
  void Export(const QString& fileName) { emit ExportRequest(fileName); }
  // The preview window on this printer is closing: emits CloseRequest. The receiver may
  // destroy the printer before this returns.
  void ClosePreview() { emit CloseRequest(this); }
  // Writes the pages to `fileName` once the build has finished; nothing before.
  void Save(const QString& fileName);
  // Replaces the pages with those of a report file. The file is read and checked first, so a
  // file that fails leaves the pages as they were. A loaded report has no live report behind
  // it: the printer setup and export receivers are disconnected.
  void Load(const QString& fileName);
  // Sends the stored pages in range to the printer, stretched over each sheet.
  void PrintStoredPages();
  // Back to ready: cancels a running build and drops the pages and their temporary file.
  void Cleanup();

  // Takes paper size and orientation from the size of a stored page's picture.
  void DetectPaper(QSize pictureSize);

 signals:
  // To the client window, queued.
  void PageFinished(int availablePages);
  void ProgressUpdate(int percent);
  // To the parent report: a print run is wanted (connected queued, so that it starts once the
  // click that asked for it has returned), or the preview window is closing (direct).
  void PrintRequest();
  void CloseRequest(TQRPrinter* printer);
  // The report's printer setup and export operations.
  void PrintSetupRequest();
  // Write the report as a PDF file of the given name.
  void ExportRequest(const QString& fileName);
  // The preview shows this printer no more; a build onto the printer has ended.
  void AfterPreview();
  void AfterPrint();
  // A print of stored pages has ended, printed, cancelled or failed.
  void StoredPagesPrinted();

 private:
  void AttachClient(QObject* window, QRPrinterClient* client);
  bool PageInRange() const;
  void OpenPage();
  void ClosePage();
  void EndPrintJob();
  void AbortPrintJob();
  void AnnouncePage();
  void ScreenFactors();
  void DeviceFactors();

  PrinterDestination destination_ = PrinterDestination::PicturePages;
  PrinterStatus status_ = PrinterStatus::Ready;
  int pageCount_ = 0;
  int pageNumber_ = 0;
  int availablePages_ = 0;
  QString title_;
  QPointer<QObject> client_;
  QRPrinterClient* clientNotices_ = nullptr;  // client_ as a client; valid while client_ lives
  QMetaObject::Connection pageConnection_;
  QMetaObject::Connection progressConnection_;
  TCustomReport* parentReport_ = nullptr;
  Float80 xFactor_;
  Float80 yFactor_;
  int leftOffset_ = 0;
  int topOffset_ = 0;
  int firstPage_ = 0;
  int lastPage_ = 0;
  bool printerOK_;
  bool loadedFromFile_ = false;
  bool showingPreview_ = false;
  bool printingStored_ = false;

  TPrinterSettings settings_;
  std::unique_ptr<TQRPageList> pageList_;
  // The page being drawn: a recorded picture, or the printer's own surface.
  std::unique_ptr<EmfRecorder> picture_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<QPainterCanvas> printerCanvas_;
};

// Makes the preview window for a report printer and shows it without waiting. Replaceable,
// so that a program or a test can show something else.
class PreviewWindowFactory {
 public:
  virtual ~PreviewWindowFactory() = default;
  virtual QWidget* Show(TQRPrinter* printer) = 0;
};

PreviewWindowFactory& PreviewInterface();
// Installs `factory` (not owned) and returns the one it replaces; nullptr restores the default.
PreviewWindowFactory* SetPreviewInterface(PreviewWindowFactory* factory);
// The default, installed by the layer that has preview windows (not owned); without one a
// preview shows nothing. Returns the one it replaces.
PreviewWindowFactory* SetDefaultPreviewInterface(PreviewWindowFactory* factory);

}  // namespace hb9cv
