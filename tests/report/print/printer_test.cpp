// The report printer without windows: its states and guards, notices, page range on a
// printer, device settings, paper detection and table, the file dialog filters, and what the
// printer setup dialog offers.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include "calc/errors.h"
#include "report/preview/report_printing.h"
#include "report/print/paper.h"
#include "report/store/page_list.h"
#include "report/store/qr_error.h"
#include "tests/report/preview_test_util.h"

namespace hb9cv {
namespace {

using namespace pvtest;

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  // Builds `pages` pages that each say "page <n>".
  static void Build(TQRPrinter& p, int pages) {
    p.BeginDoc();
    for (int page = 1; page <= pages; ++page) {
      p.NewPage();
      p.PageCanvas().SetFont(CanvasFont{});
      p.PageCanvas().TextOut(p.XPos(200), p.YPos(200), QStringLiteral("page %1").arg(page));
    }
    p.EndDoc();
  }
  QTemporaryDir dir;
};

// A client window that records the notices it receives.
class NoticeSink : public QObject, public QRPrinterClient {
 public:
  void PageFinished(int pages) override { received.push_back(pages); }
  void ProgressUpdate(int) override {}
  std::vector<int> received;
};

void ExpectQRError(const std::function<void()>& f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "no error, expected " << message;
  } catch (const EQRError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST_F(PrinterTest, StatusGuardsAndPicturePagesAnnouncedByPostedNotices) {
  TQRPrinter p;
  NoticeSink sink;
  p.SetClient(&sink);
  int afterPreview = 0;
  QObject::connect(&p, &TQRPrinter::AfterPreview, [&] { ++afterPreview; });
  ExpectQRError([&] { p.NewPage(); }, "Illegal call to NewPage");
  Build(p, 3);
  EXPECT_EQ(p.Status(), PrinterStatus::Finished);
  ExpectQRError([&] { p.BeginDoc(); }, "QRPrinter not ready");
  ExpectQRError([&] { p.NewPage(); }, "Illegal call to NewPage");
  EXPECT_TRUE(sink.received.empty()) << "notices are queued, not sent";
  QCoreApplication::sendPostedEvents(&sink);
  EXPECT_EQ(sink.received, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(std::tuple(p.PageCount(), p.GetPage(0).IsNull(), p.GetPage(4).IsNull(),
                       p.GetPage(3).PixelSize(), p.GetPage(3).Validate()),
            std::tuple(3, true, true, QSize(794, 1123), true));
  EXPECT_NE(p.GetPage(1), p.GetPage(2));
  p.Cleanup();
  EXPECT_EQ(std::pair(p.Status(), p.PageList().PageCount()), std::pair(PrinterStatus::Ready, 0));
  // Closing the preview cancels a build that runs, and tells it once.
  p.SetShowingPreview(true);
  p.BeginDoc();
  ExpectQRError([&] { p.BeginDoc(); }, "QRPrinter not ready");
  EXPECT_EQ(p.Status(), PrinterStatus::Busy) << "a refused begin changes nothing more";
  p.NewPage();
  p.Save(dir.filePath("early.QRP"));
  EXPECT_FALSE(QFile::exists(dir.filePath("early.QRP"))) << "saved before the build has ended";
  p.SetShowingPreview(false);
  p.SetShowingPreview(false);
  EXPECT_EQ(std::pair(p.Cancelled(), afterPreview), std::pair(true, 1));
  p.Abort();
  p.Cleanup();
  p.BeginDoc();
  EXPECT_FALSE(p.Cancelled()) << "a new build clears the cancel flag";
}

TEST_F(PrinterTest, SettingsOfAPrinter) {
  PdfPrinters printers(dir.path(), {QStringLiteral("one"), QStringLiteral("two")});
  printers.defaultIndex = 1;
  EXPECT_EQ(ResolvePrinterName(printers, 7), QStringLiteral("two")) << "no such: the default";
  TPrinterSettings s;
  s.SetPrinterIndex(-1, printers);
  ASSERT_TRUE(s.HasDevice());
  EXPECT_EQ(std::pair(s.XResolution(), s.Offers(TQRPaperSize::A4Small)), std::pair(1200, false));
  s.SetPaperSize(TQRPaperSize::A4);
  s.SetCopies(2);
  s.SetOrientation(PaperOrientation::Landscape);
  s.ApplyToDevice();
  EXPECT_NEAR(s.PhysicalWidth(), 2970, 1);  // Qt's A4 is whole points, 842 x 595
  EXPECT_EQ(std::pair(s.Device()->copyCount(), s.Device()->pageLayout().orientation()),
            std::pair(2, QPageLayout::Landscape));
  s.SetPrinterIndex(0, printers);  // a new choice starts from the driver's defaults
  EXPECT_EQ(std::pair(s.DeviceName(), s.Device()->copyCount()), std::pair(QString("one"), 1));
}

TEST(Paper, DetectionFromThePictureSizeAndFilters) {
  const auto only = [](std::vector<TQRPaperSize> sizes) {
    return [sizes](TQRPaperSize s) { return std::ranges::count(sizes, s) > 0; };
  };
  const auto all = [](TQRPaperSize) { return true; };
  const PaperGuess start{TQRPaperSize::A3, PaperOrientation::Landscape};
  using enum TQRPaperSize;
  const struct {
    QSize picture;
    std::function<bool(TQRPaperSize)> accept;
    bool orientation;
    TQRPaperSize size;
    PaperOrientation o;
  } cases[] = {
      // A4 matches A4, then A4Small, which wins where the device has it.
      {{794, 1123}, all, true, A4Small, PaperOrientation::Portrait},
      {{1123, 794}, only({A4}), true, A4, PaperOrientation::Landscape},
      // Letter, LetterSmall and Note are alike in whole 4 mm units; the last accepted wins.
      {{816, 1056}, all, true, Note, PaperOrientation::Portrait},
      // Nothing accepted: the size stays, only the orientation follows.
      {{794, 1123}, only({}), true, A3, PaperOrientation::Portrait},
      {{500, 500}, all, true, A3, PaperOrientation::Landscape},  // no such paper
  };
  for (const auto& c : cases) {
    const PaperGuess g = DetectPaper(c.picture.width(), c.picture.height(), FactorForDpi(96),
                                     c.accept, c.orientation, start);
    EXPECT_EQ(std::pair(g.size, g.orientation), std::pair(c.size, c.o))
        << c.picture.width() << "x" << c.picture.height();
  }
  EXPECT_EQ(DetectPaper(794, 1123, 0, all, true, start).size, A3);
  // Table rows in tenths of a millimetre, those once wrong among them.
  const std::tuple<TQRPaperSize, double, double> rows[] = {
      {A4, 2100, 2970},     {Letter, 2159, 2794}, {Note, 2159, 2794},    {Env12, 1206.5, 2794},
      {CSheet, 4318, 5588}, {DSheet, 5588, 8636}, {ESheet, 8636, 11176},
  };
  for (const auto& [size, width, length] : rows) {
    EXPECT_NEAR(double(PaperTableWidth(size)), width, 1e-9) << PaperSizeInfo(size).name;
    EXPECT_NEAR(double(PaperTableLength(size)), length, 1e-9) << PaperSizeInfo(size).name;
  }

  // Filters of the file dialogs match both letter cases.
  EXPECT_EQ(ToQtFilters(QStringLiteral("Report file(*.QRP)|*.QRP|Text (*.txt)|*.txt")),
            QStringList({"Report file(*.QRP *.qrp)", "Text (*.txt *.TXT)"}));
  EXPECT_EQ(ToQtFilters(QStringLiteral("Pictures|*.png;*.JPG")),
            QStringList{"Pictures (*.png *.PNG *.JPG *.jpg)"});
  EXPECT_TRUE(ToQtFilters(QString()).isEmpty());
}

// Printer setup offers only what a print honours (the printer, the copies, the page range; the
// options pane opened as the user opens it), no file, and accepts with "OK".
TEST_F(PrinterTest, PrinterSetupOffersOnlyWhatAPrintHonours) {
  QPrinter printer(QPrinter::HighResolution);
  const std::unique_ptr<QPrintDialog> dialog = MakePrintSetupDialog(&printer, nullptr);
  dialog->show();
  auto* box = dialog->findChild<QDialogButtonBox*>();
  for (QAbstractButton* b : box->buttons()) {
    const QDialogButtonBox::ButtonRole role = box->buttonRole(b);
    if (role != QDialogButtonBox::AcceptRole && role != QDialogButtonBox::RejectRole) b->click();
  }
  QStringList shown;
  for (const char* name :
       {"printers", "copies", "printAll", "printRange", "from", "to", "properties", "colorMode",
        "duplex", "collate", "reverse", "pageSetCombo", "pagesRadioButton", "printSelection",
        "printCurrentPage", "filename", "preview"}) {
    const auto* w = dialog->findChild<QWidget*>(QLatin1String(name));
    ASSERT_NE(w, nullptr) << name;
    if (w->isVisibleTo(dialog.get())) shown << name;
  }
  EXPECT_EQ(shown, QStringList({"printers", "copies", "printAll", "printRange", "from", "to"}));
  EXPECT_EQ(
      dialog->findChild<QComboBox*>("printers")->findText(QPrintDialog::tr("Print to File (PDF)")),
      -1);
  EXPECT_EQ(dialog->findChild<QTabWidget*>("tabs")->count(), 1) << "colour and duplex have no tab";
  EXPECT_EQ(box->button(QDialogButtonBox::Ok)->text(), "OK");
}

TEST_F(PrinterTest, PagesOutsideTheRangeNeverReachPaper) {
  PdfPrinters printers(dir.path());
  const struct {
    int first, last;
    QStringList printed;
  } cases[] = {
      {2, 2, {"page 2"}},
      {0, 0, {"page 1", "page 2", "page 3"}},
      {2, 0, {"page 2", "page 3"}},
      {0, 2, {"page 1", "page 2"}},
  };
  for (const auto& c : cases) {
    TQRPrinter p;
    p.SetDestination(PrinterDestination::Printer);
    p.PrinterSettings().SetPrinterIndex(-1, printers);
    p.SetFirstPage(c.first);
    p.SetLastPage(c.last);
    Build(p, 3);
    EXPECT_EQ(PdfPages(printers.WrittenFiles().last()), c.printed) << c.first << ".." << c.last;
  }
}

TEST_F(PrinterTest, BuildTakesTheReportSettingsAndACancelDropsTheJob) {
  PdfPrinters printers(dir.path(), {QStringLiteral("a"), QStringLiteral("b")});
  ScopedPrinters scoped(printers);
  auto form = test::FormAfter145MHz();
  form->Report1.SetPrinterIndex(1);
  form->Report1.PrinterSettings.Copies = 3;
  form->Report1.PrinterSettings.FirstPage = form->Report1.PrinterSettings.LastPage = 1;
  TQRPrinter p;
  p.SetDestination(PrinterDestination::Printer);
  p.Cancel();  // cleared by the begin of the build
  form->Report1.Generate(p);
  EXPECT_EQ(std::tuple(p.PrinterSettings().DeviceName(), p.PrinterSettings().Copies(),
                       p.FirstPage(), p.LastPage()),
            std::tuple(QString("b"), 3, 1, 1));
  ASSERT_EQ(printers.WrittenFiles().size(), 1);
  // A cancel during the build: the report pass ends with abort, the job is dropped.
  TQRPrinter q;
  q.SetDestination(PrinterDestination::Printer);
  q.PrepareBuild(form->Report1);
  q.BeginDoc();
  q.NewPage();
  q.Cancel();
  q.Abort();
  EXPECT_EQ(q.Status(), PrinterStatus::Finished);
  ASSERT_EQ(printers.Files().size(), 2);
  EXPECT_EQ(printers.WrittenFiles().size(), 1) << "the aborted job left no document";
}

}  // namespace
}  // namespace hb9cv
