#include "report/print/qr_printer.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaMethod>
#include <algorithm>
#include <utility>

#include "calc/errors.h"
#include "report/model/qr_report.h"
#include "report/render/emf_player.h"
#include "report/render/emf_recorder.h"
#include "report/render/fonts.h"
#include "report/render/qpainter_canvas.h"
#include "report/store/page_list.h"
#include "report/store/qr_error.h"
#include "report/store/qr_stream.h"

namespace hb9cv {

namespace {

class NoPreview final : public PreviewWindowFactory {
 public:
  QWidget* Show(TQRPrinter*) override { return nullptr; }
};

PreviewWindowFactory* g_previewInterface = nullptr;
PreviewWindowFactory* g_defaultInterface = nullptr;

}  // namespace

PreviewWindowFactory& PreviewInterface() {
  static NoPreview none;
  if (g_previewInterface != nullptr) return *g_previewInterface;
  return g_defaultInterface != nullptr ? *g_defaultInterface : none;
}

PreviewWindowFactory* SetPreviewInterface(PreviewWindowFactory* factory) {
  return std::exchange(g_previewInterface, factory);
}

PreviewWindowFactory* SetDefaultPreviewInterface(PreviewWindowFactory* factory) {
  return std::exchange(g_defaultInterface, factory);
}

TQRPrinter::TQRPrinter(QObject* parent)
    : QObject(parent),
      xFactor_(FactorForDpi(ScreenPixelsPerInch())),
      yFactor_(xFactor_),
      printerOK_(!Printers().PrinterNames().isEmpty()),
      pageList_(std::make_unique<TQRPageList>()) {}

TQRPrinter::~TQRPrinter() {
  // A print job still open goes no further.
  AbortPrintJob();
  printerCanvas_.reset();
  painter_.reset();
  picture_.reset();
}

void TQRPrinter::AttachClient(QObject* window, QRPrinterClient* client) {
  disconnect(pageConnection_);
  disconnect(progressConnection_);
  client_ = window;
  clientNotices_ = client;
  if (window == nullptr) return;
  pageConnection_ = connect(
      this, &TQRPrinter::PageFinished, window, [client](int pages) { client->PageFinished(pages); },
      Qt::QueuedConnection);
  progressConnection_ = connect(
      this, &TQRPrinter::ProgressUpdate, window,
      [client](int percent) { client->ProgressUpdate(percent); }, Qt::QueuedConnection);
}

void TQRPrinter::TakeClient(const TQRPrinter& other) {
  AttachClient(other.client_, other.client_ ? other.clientNotices_ : nullptr);
}

void TQRPrinter::SetShowingPreview(bool showing) {
  const bool was = showingPreview_;
  showingPreview_ = showing;
  if (was && !showing) {
    if (status_ == PrinterStatus::Busy) Cancel();
    emit AfterPreview();
  }
}

void TQRPrinter::ScreenFactors() {
  yFactor_ = FactorForDpi(ScreenPixelsPerInch());
  xFactor_ = yFactor_;
}

void TQRPrinter::DeviceFactors() {
  xFactor_ = FactorForDpi(settings_.XResolution());
  yFactor_ = FactorForDpi(settings_.YResolution());
}

Float80 TQRPrinter::PaperWidth() const {
  switch (settings_.PaperSize()) {
    case TQRPaperSize::Default:
      return settings_.PhysicalWidth();
    case TQRPaperSize::Custom:
      return settings_.CustomWidth();
    default:
      return settings_.Orientation() == PaperOrientation::Landscape
                 ? PaperTableLength(settings_.PaperSize())
                 : PaperTableWidth(settings_.PaperSize());
  }
}

Float80 TQRPrinter::PaperLength() const {
  switch (settings_.PaperSize()) {
    case TQRPaperSize::Default:
      return settings_.PhysicalLength();
    case TQRPaperSize::Custom:
      return settings_.CustomLength();
    default:
      return settings_.Orientation() == PaperOrientation::Landscape
                 ? PaperTableWidth(settings_.PaperSize())
                 : PaperTableLength(settings_.PaperSize());
  }
}

void TQRPrinter::PrepareBuild(const TCustomReport& report) {
  title_ = report.ReportTitle();
  // A fresh device at its driver's defaults, so that nothing chosen earlier lingers.
  settings_.SetPrinterIndex(report.PrinterIndex());
  settings_.SetPaperSize(report.Page.PaperSize());
  if (report.Page.PaperSize() == TQRPaperSize::Custom) {
    settings_.SetCustomSize(QRRound(report.Page.Stored(TQRPage::kWidth)),
                            QRRound(report.Page.Stored(TQRPage::kLength)));
  }
  settings_.SetOrientation(report.Page.Orientation());
  settings_.SetCopies(report.PrinterSettings.Copies);
  settings_.SetOutputBin(report.PrinterSettings.OutputBin);
  firstPage_ = report.PrinterSettings.FirstPage;
  lastPage_ = report.PrinterSettings.LastPage;
}

void TQRPrinter::BeginDoc() {
  availablePages_ = 0;
  ClearCancel();
  picture_.reset();
  if (destination_ == PrinterDestination::Printer) {
    settings_.ApplyToDevice();
    leftOffset_ = settings_.OffsetLeft();
    topOffset_ = settings_.OffsetTop();
  } else {
    leftOffset_ = 0;
    topOffset_ = 0;
  }
  if (status_ != PrinterStatus::Ready)
    throw EQRError(QT_TRANSLATE_NOOP("Errors", "QRPrinter not ready"), {});
  pageCount_ = 0;
  pageNumber_ = 0;
  status_ = PrinterStatus::Busy;
  if (destination_ == PrinterDestination::PicturePages) {
    pageList_->Reset();
    pageList_->SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
    ScreenFactors();
  } else {
    DeviceFactors();
  }
}

bool TQRPrinter::PageInRange() const {
  return (firstPage_ <= 0 || firstPage_ <= pageCount_) &&
         (lastPage_ <= 0 || lastPage_ >= pageCount_);
}

void TQRPrinter::NewPage() {
  if (status_ != PrinterStatus::Busy)
    throw EQRError(QT_TRANSLATE_NOOP("Errors", "Illegal call to NewPage"), {});
  if (pageNumber_ > 0) {
    ClosePage();
    AnnouncePage();
  }
  ++pageCount_;
  ++pageNumber_;
  OpenPage();
}

void TQRPrinter::AnnouncePage() {
  ++availablePages_;
  emit PageFinished(availablePages_);
}

void TQRPrinter::ClosePage() {
  if (picture_) {
    // A page picture: for the page list, or a printer page outside the range, thrown away.
    Metafile page = picture_->Finish();
    picture_.reset();
    if (destination_ == PrinterDestination::PicturePages) pageList_->AddPage(page);
    return;
  }
  if (destination_ == PrinterDestination::Printer && painter_ && painter_->isActive() &&
      pageCount_ != lastPage_) {
    settings_.Device()->newPage();
  }
}

void TQRPrinter::OpenPage() {
  if (destination_ == PrinterDestination::Printer && PageInRange() && settings_.Device()) {
    QPrinter* device = settings_.Device();
    if (!painter_ || !painter_->isActive()) {
      device->setDocName(title_);
      painter_ = std::make_unique<QPainter>();
      if (!painter_->begin(device)) {
        painter_.reset();
        throw EQRError(QT_TRANSLATE_NOOP("Errors", "Printer not ready: %1"),
                       {device->printerName().toStdString()});
      }
      printerCanvas_ = std::make_unique<QPainterCanvas>(*painter_, settings_.XResolution(),
                                                        settings_.YResolution());
    }
    DeviceFactors();
    return;
  }
  // Picture pages, and printer pages that are drawn but do not go to paper.
  ScreenFactors();
  const int dpi = ScreenPixelsPerInch();
  const QSize pixels(XSize(PaperWidth()), YSize(PaperLength()));
  const QSize paper(QRRound(PaperWidth() * 10), QRRound(PaperLength() * 10));
  picture_ = std::make_unique<EmfRecorder>(pixels, paper, dpi, dpi);
}

void TQRPrinter::EndPrintJob() {
  if (painter_ && painter_->isActive()) painter_->end();
  printerCanvas_.reset();
  painter_.reset();
}

void TQRPrinter::EndDoc() {
  if (status_ != PrinterStatus::Busy) return;
  if (destination_ == PrinterDestination::Printer) {
    picture_.reset();
    EndPrintJob();
  } else if (pageCount_ > 0) {
    ClosePage();
  }
  AnnouncePage();
  status_ = PrinterStatus::Finished;
  if (destination_ == PrinterDestination::PicturePages) {
    pageList_->Finish();
  } else {
    emit AfterPrint();
  }
}

void TQRPrinter::AbortPrintJob() {
  QPrinter* device = settings_.Device();
  if (device == nullptr || !painter_ || !painter_->isActive()) {
    EndPrintJob();
    return;
  }
  const bool dropped = device->abort();
  EndPrintJob();
  // A printer that writes a file cannot drop its job; the unfinished document goes instead.
  if (!dropped && !device->outputFileName().isEmpty()) QFile::remove(device->outputFileName());
}

void TQRPrinter::Abort() {
  if (destination_ == PrinterDestination::Printer) {
    picture_.reset();
    AbortPrintJob();
  } else if (picture_) {
    ClosePage();
  }
  status_ = PrinterStatus::Finished;
}

Canvas& TQRPrinter::PageCanvas() {
  if (picture_) return *picture_;
  if (printerCanvas_) return *printerCanvas_;
  throw EQRError(QT_TRANSLATE_NOOP("Errors", "Illegal call to NewPage"), {});
}

Metafile TQRPrinter::GetPage(int n) {
  if (status_ == PrinterStatus::Ready || n < 1 || n > pageCount_) return {};
  return pageList_->GetPage(n);
}

void TQRPrinter::Preview() {
  PreviewInterface().Show(this);
}

void TQRPrinter::Print() {
  if (parentReport_ != nullptr && !loadedFromFile_) {
    emit PrintRequest();
  } else {
    PrintStoredPages();
  }
}

void TQRPrinter::PrintSetup() {
  emit PrintSetupRequest();
}

bool TQRPrinter::OffersExport() const {
  return isSignalConnected(QMetaMethod::fromSignal(&TQRPrinter::ExportRequest));
}

void TQRPrinter::Save(const QString& fileName) {
  if (status_ != PrinterStatus::Finished) return;
  pageList_->SaveToFile(fileName);
}

void TQRPrinter::Cleanup() {
  if (status_ == PrinterStatus::Ready) return;
  if (status_ == PrinterStatus::Busy) Cancel();
  pageList_->Reset();
  status_ = PrinterStatus::Ready;
}

void TQRPrinter::Load(const QString& fileName) {
  // Read and checked before anything is dropped: a file that fails keeps the pages shown.
  std::unique_ptr<TQRPageList> loaded = TQRPageList::LoadFromFile(fileName);
  if (printingStored_) throw EQRError(QT_TRANSLATE_NOOP("Errors", "QRPrinter not ready"), {});
  Cleanup();
  pageList_ = std::move(loaded);
  pageCount_ = pageList_->PageCount();
  ScreenFactors();
  if (pageCount_ > 0) {
    const Metafile first = pageList_->GetPage(1);
    DetectPaper(first.PixelSize());
  }
  status_ = PrinterStatus::Finished;
  disconnect(this, &TQRPrinter::PrintSetupRequest, nullptr, nullptr);
  disconnect(this, &TQRPrinter::ExportRequest, nullptr, nullptr);
  loadedFromFile_ = true;
}

void TQRPrinter::DetectPaper(QSize pictureSize) {
  const PaperGuess guess = hb9cv::DetectPaper(
      pictureSize.width(), pictureSize.height(), xFactor_,
      [this](TQRPaperSize size) { return size == TQRPaperSize::Default || settings_.Offers(size); },
      settings_.CanSetOrientation(), {settings_.PaperSize(), settings_.Orientation()});
  settings_.SetPaperSize(guess.size);
  settings_.SetOrientation(guess.orientation);
}

void TQRPrinter::PrintStoredPages() {
  if (status_ != PrinterStatus::Finished || !printerOK_ || printingStored_) return;
  if (!settings_.HasDevice()) settings_.SetPrinterIndex(-1);
  QPrinter* device = settings_.Device();
  if (device == nullptr) return;
  device->setDocName(title_);
  if (painter_ && painter_->isActive()) AbortPrintJob();
  settings_.ApplyToDevice();
  ClearCancel();
  int from = firstPage_;
  int to = lastPage_;
  if (from == 0 && to == 0) {
    from = 1;
    to = pageCount_;
  }
  from = std::max(from, 1);
  to = std::min(to, pageCount_);
  if (from > to) return;

  printingStored_ = true;
  struct Done {
    TQRPrinter* self;
    ~Done() {
      self->printingStored_ = false;
      emit self->StoredPagesPrinted();
    }
  } done{this};

  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(device)) {
    painter_.reset();
    throw EQRError(QT_TRANSLATE_NOOP("Errors", "Printer not ready: %1"),
                   {device->printerName().toStdString()});
  }
  // The picture is of the whole paper; the painter starts at the printable area.
  const QRectF paper = device->paperRect(QPrinter::DevicePixel);
  const QRectF page = device->pageRect(QPrinter::DevicePixel);
  const QRectF target(paper.left() - page.left(), paper.top() - page.top(), paper.width(),
                      paper.height());
  for (int n = from; n <= to; ++n) {
    // The pages go out from inside the Print button's click, not from the event loop: between
    // pages the windows repaint and answer, which is also the only way a cancel can reach the
    // flag checked below.
    QCoreApplication::processEvents();
    const Metafile picture = GetPage(n);
    if (!picture.IsNull()) PlayEmf(*painter_, picture, target);
    if (n < to) device->newPage();
    if (Cancelled()) {
      AbortPrintJob();
      return;
    }
  }
  EndPrintJob();
}

}  // namespace hb9cv
