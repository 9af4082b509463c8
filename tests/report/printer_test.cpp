// The report printer without windows: its states and guards, notices, page range on a
// printer, device settings, paper tables and detection, and the file dialog filters.
#include <QTemporaryDir>

#include "preview_test_util.h"
#include "report/page_list.h"
#include "report/paper.h"
#include "report/qr_notices.h"
#include "report/report_printing.h"

namespace hb9cv {
namespace {

using namespace pvtest;

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
};

// Records the notices it receives.
class NoticeSink : public QObject {
 public:
  bool event(QEvent* e) override {
    if (const QRNoticeEvent* n = QRNoticeEvent::From(e)) {
      received.push_back({n->Notice(), n->First()});
      return true;
    }
    return QObject::event(e);
  }
  std::vector<std::pair<QRNotice, int>> received;
};

void ExpectQRError(const std::function<void()>& f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "no error, expected " << message;
  } catch (const EQRError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST_F(PrinterTest, StatusGuardsBeginAndNewPage) {
  TQRPrinter p;
  EXPECT_EQ(p.Status(), TQRPrinterStatus::Ready);
  ExpectQRError([&] { p.NewPage(); }, "Illegal call to NewPage");
  p.BeginDoc();
  EXPECT_EQ(p.Status(), TQRPrinterStatus::Busy);
  ExpectQRError([&] { p.BeginDoc(); }, "QRPrinter not ready");
  EXPECT_EQ(p.Status(), TQRPrinterStatus::Busy) << "a refused begin changes nothing more";
  p.NewPage();
  p.EndDoc();
  EXPECT_EQ(p.Status(), TQRPrinterStatus::Finished);
  ExpectQRError([&] { p.BeginDoc(); }, "QRPrinter not ready");
  ExpectQRError([&] { p.NewPage(); }, "Illegal call to NewPage");
  p.Cleanup();
  EXPECT_EQ(p.Status(), TQRPrinterStatus::Ready);
  EXPECT_EQ(p.PageList().PageCount(), 0);
  p.BeginDoc();
  p.Abort();
  EXPECT_EQ(p.Status(), TQRPrinterStatus::Finished);
}

TEST_F(PrinterTest, PicturePagesAreStoredAndAnnouncedByPostedNotices) {
  TQRPrinter p;
  NoticeSink sink;
  p.SetClient(&sink);
  p.BeginDoc();
  EXPECT_EQ(p.XFactor(), FactorForDpi(96));
  EXPECT_EQ(p.YFactor(), FactorForDpi(96));
  EXPECT_EQ(p.LeftOffset(), 0);
  for (int page = 1; page <= 3; ++page) {
    p.NewPage();
    EXPECT_EQ(p.PageNumber(), page);
    EXPECT_TRUE(p.GetPage(page).IsNull()) << "the open page is not stored yet";
    p.PageCanvas().SetFont(CanvasFont{});
    p.PageCanvas().TextOut(100, 100, QStringLiteral("page %1").arg(page));
  }
  p.EndDoc();
  EXPECT_TRUE(sink.received.empty()) << "notices are queued, not sent";
  QCoreApplication::sendPostedEvents(&sink);
  ASSERT_EQ(sink.received.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(sink.received[i].first, QRNotice::PageFinished);
    EXPECT_EQ(sink.received[i].second, i + 1);
  }
  EXPECT_EQ(p.AvailablePages(), 3);
  EXPECT_EQ(p.PageCount(), 3);
  EXPECT_EQ(p.PageList().PageCount(), 3);
  EXPECT_TRUE(p.GetPage(0).IsNull());
  EXPECT_TRUE(p.GetPage(4).IsNull());
  for (int page = 1; page <= 3; ++page) {
    const Metafile m = p.GetPage(page);
    ASSERT_FALSE(m.IsNull());
    EXPECT_TRUE(m.Validate());
    EXPECT_EQ(m.PixelSize(), QSize(794, 1123));
  }
  EXPECT_NE(p.GetPage(1), p.GetPage(2));
}

TEST_F(PrinterTest, ShowingPreviewOffCancelsABuildAndCallsAfterPreview) {
  TQRPrinter p;
  int afterPreview = 0;
  p.AfterPreview = [&] { ++afterPreview; };
  p.SetShowingPreview(true);
  p.BeginDoc();
  p.NewPage();
  EXPECT_FALSE(p.Cancelled());
  p.SetShowingPreview(false);
  EXPECT_TRUE(p.Cancelled());
  EXPECT_EQ(afterPreview, 1);
  p.SetShowingPreview(false);
  EXPECT_EQ(afterPreview, 1) << "only when it was showing";
  p.Abort();
  p.Cleanup();
  p.BeginDoc();
  EXPECT_FALSE(p.Cancelled()) << "a new build clears the cancel flag";
}

TEST_F(PrinterTest, PaperOfThePrinterFollowsSizeAndOrientation) {
  TQRPrinter p;
  EXPECT_EQ(p.PaperWidth(), 2100);
  EXPECT_EQ(p.PaperLength(), 2970);
  QTemporaryDir dir;
  PdfPrinters printers(dir.path());
  p.PrinterSettings().SetPrinterIndex(-1, printers);
  p.PrinterSettings().SetOrientation(TQROrientation::Landscape);
  EXPECT_EQ(p.PaperWidth(), 2970);
  EXPECT_EQ(p.PaperLength(), 2100);
  p.PrinterSettings().SetPaperSize(TQRPaperSize::A5);
  EXPECT_EQ(p.PaperWidth(), 2100);
  EXPECT_EQ(p.PaperLength(), 1480);
  p.PrinterSettings().SetPaperSize(TQRPaperSize::Custom);
  p.PrinterSettings().SetCustomSize(1000, 1500);
  EXPECT_EQ(p.PaperWidth(), 1000);
  EXPECT_EQ(p.PaperLength(), 1500);
  p.PrinterSettings().SetOrientation(TQROrientation::Portrait);
  p.PrinterSettings().SetPaperSize(TQRPaperSize::Default);
  p.PrinterSettings().ApplyToDevice();
  EXPECT_EQ(p.PaperWidth(), p.PrinterSettings().PhysicalWidth());
  EXPECT_GT(p.PaperWidth(), 0);
}

TEST_F(PrinterTest, SettingsWithoutAnyPrinter) {
  NoPrinters none;
  TPrinterSettings s;
  s.SetPrinterIndex(-1, none);
  EXPECT_FALSE(s.HasDevice());
  EXPECT_EQ(s.XResolution(), 0);
  EXPECT_EQ(s.PhysicalWidth(), 0);
  EXPECT_EQ(s.OffsetLeft(), 0);
  EXPECT_EQ(s.PaperSize(), TQRPaperSize::A4);
  s.SetPaperSize(TQRPaperSize::A3);
  EXPECT_EQ(s.PaperSize(), TQRPaperSize::A4) << "no device offers A3";
  s.SetOrientation(TQROrientation::Landscape);
  EXPECT_EQ(s.Orientation(), TQROrientation::Portrait);
  s.SetCopies(3);
  EXPECT_EQ(s.Copies(), 1);
  EXPECT_TRUE(s.Offers(TQRPaperSize::Custom));
  s.SetPaperSize(TQRPaperSize::Default);
  EXPECT_EQ(s.PaperSize(), TQRPaperSize::Default);
  s.ApplyToDevice();  // nothing to apply to
  EXPECT_EQ(ResolvePrinterName(none, -1), QString());
}

TEST_F(PrinterTest, SettingsReadFromTheDevice) {
  QTemporaryDir dir;
  PdfPrinters printers(dir.path(), {QStringLiteral("one"), QStringLiteral("two")});
  printers.defaultIndex = 1;
  EXPECT_EQ(ResolvePrinterName(printers, -1), QStringLiteral("two"));
  EXPECT_EQ(ResolvePrinterName(printers, 0), QStringLiteral("one"));
  EXPECT_EQ(ResolvePrinterName(printers, 7), QStringLiteral("two"));
  EXPECT_EQ(PrinterIndexOf(printers, QStringLiteral("two")), 1);
  EXPECT_EQ(PrinterIndexOf(printers, QStringLiteral("three")), -1);

  TPrinterSettings s;
  s.SetPrinterIndex(-1, printers);
  ASSERT_TRUE(s.HasDevice());
  EXPECT_EQ(s.DeviceName(), QStringLiteral("two"));
  EXPECT_EQ(s.DriverName(), QStringLiteral("PDF writer"));
  EXPECT_EQ(s.XResolution(), 1200);
  EXPECT_EQ(s.YResolution(), 1200);
  EXPECT_TRUE(s.Offers(TQRPaperSize::A4));
  EXPECT_TRUE(s.Offers(TQRPaperSize::Letter));
  EXPECT_FALSE(s.Offers(TQRPaperSize::A4Small));
  s.SetPaperSize(TQRPaperSize::A4);
  s.SetCopies(2);
  s.SetOrientation(TQROrientation::Portrait);
  s.ApplyToDevice();
  // Qt's A4 is whole points, 595 x 842.
  EXPECT_NEAR(s.PhysicalWidth(), 2100, 1);
  EXPECT_NEAR(s.PhysicalLength(), 2970, 1);
  EXPECT_EQ(s.OffsetLeft(), 0);
  EXPECT_EQ(s.OffsetTop(), 0);
  EXPECT_EQ(s.Device()->copyCount(), 2);
  EXPECT_EQ(s.Device()->pageLayout().pageSize().id(), QPageSize::A4);
  EXPECT_EQ(s.Device()->duplex(), QPrinter::DuplexNone);
  s.SetOrientation(TQROrientation::Landscape);
  s.ApplyToDevice();
  EXPECT_NEAR(s.PhysicalWidth(), 2970, 1);
  EXPECT_EQ(s.Device()->pageLayout().orientation(), QPageLayout::Landscape);

  s.SetPrinterIndex(0, printers);
  EXPECT_EQ(s.DeviceName(), QStringLiteral("one"));
  EXPECT_EQ(s.Device()->copyCount(), 1) << "a new choice starts from the driver's defaults";
}

TEST(Paper, BinsAndSizesForTheDevice) {
  EXPECT_EQ(ToPaperSource(TQRBin::Auto), QPrinter::Auto);
  EXPECT_EQ(ToPaperSource(TQRBin::First), QPrinter::Upper);
  EXPECT_EQ(ToPaperSource(TQRBin::Last), QPrinter::Cassette);
  EXPECT_EQ(ToPageSizeId(TQRPaperSize::A4), QPageSize::A4);
  EXPECT_EQ(ToPageSizeId(TQRPaperSize::A4Small), QPageSize::A4Small);
  EXPECT_EQ(ToPageSizeId(TQRPaperSize::Letter), QPageSize::Letter);
  EXPECT_EQ(ToPageSizeId(TQRPaperSize::Custom), QPageSize::Custom);
  EXPECT_EQ(FromPageSize(QPageSize(QPageSize::A4)), TQRPaperSize::A4);
  EXPECT_EQ(FromPageSize(QPageSize(QPageSize::Legal)), TQRPaperSize::Legal);
  EXPECT_EQ(FromPageSize(QPageSize(QPageSize::A0)), TQRPaperSize::Default);
  // Named sizes round-trip through Qt's page sizes, except the codes Qt folds into another
  // sheet of the same size.
  for (int i = 1; i <= static_cast<int>(TQRPaperSize::Env14); ++i) {
    const auto size = static_cast<TQRPaperSize>(i);
    if (size == TQRPaperSize::Folio || size == TQRPaperSize::qr11X17) continue;
    EXPECT_EQ(FromPageSize(QPageSize(ToPageSizeId(size))), size) << PaperSizeInfo(size).name;
  }
  EXPECT_EQ(ToPageSizeId(TQRPaperSize::qr11X17), QPageSize::Tabloid);
}

TEST(Paper, DetectionFromThePictureSize) {
  const long double f = 96.0L / 254;
  const auto all = [](TQRPaperSize) { return true; };
  const auto only = [](std::initializer_list<TQRPaperSize> sizes) {
    return [sizes = std::vector<TQRPaperSize>(sizes)](TQRPaperSize s) {
      return std::find(sizes.begin(), sizes.end(), s) != sizes.end();
    };
  };
  const PaperGuess start{TQRPaperSize::A3, TQROrientation::Landscape};
  struct Case {
    QSize picture;
    std::function<bool(TQRPaperSize)> accept;
    bool orientation;
    TQRPaperSize size;
    TQROrientation o;
  };
  const Case cases[] = {
      // A4 matches A4, then A4Small, which wins where the device has it.
      {{794, 1123}, all, true, TQRPaperSize::A4Small, TQROrientation::Portrait},
      {{794, 1123}, only({TQRPaperSize::A4}), true, TQRPaperSize::A4, TQROrientation::Portrait},
      {{1123, 794}, only({TQRPaperSize::A4}), true, TQRPaperSize::A4, TQROrientation::Landscape},
      // Letter, LetterSmall and Note are alike in whole 4 mm units; the last accepted wins.
      {{816, 1056}, all, true, TQRPaperSize::Note, TQROrientation::Portrait},
      {{816, 1056},
       only({TQRPaperSize::Letter}),
       true,
       TQRPaperSize::Letter,
       TQROrientation::Portrait},
      // Nothing accepted: the size stays, only the orientation follows.
      {{794, 1123}, only({}), true, TQRPaperSize::A3, TQROrientation::Portrait},
      {{794, 1123}, all, false, TQRPaperSize::A4Small, TQROrientation::Landscape},
      // A size no table row has.
      {{500, 500}, all, true, TQRPaperSize::A3, TQROrientation::Landscape},
  };
  for (const Case& c : cases) {
    const PaperGuess g =
        DetectPaper(c.picture.width(), c.picture.height(), f, c.accept, c.orientation, start);
    EXPECT_EQ(g.size, c.size) << c.picture.width() << "x" << c.picture.height();
    EXPECT_EQ(g.orientation, c.o) << c.picture.width() << "x" << c.picture.height();
  }
  EXPECT_EQ(DetectPaper(794, 1123, 0, all, true, start).size, TQRPaperSize::A3);
}

TEST(Paper, ReportFileFiltersMatchBothLetterCases) {
  EXPECT_EQ(ToQtFilters(QStringLiteral("Report file(*.QRP)|*.QRP")),
            QStringList{QStringLiteral("Report file(*.QRP *.qrp)")});
  EXPECT_EQ(ToQtFilters(QStringLiteral("Report file (*.QRP)|*.QRP")),
            QStringList{QStringLiteral("Report file (*.QRP *.qrp)")});
  EXPECT_EQ(ToQtFilters(QStringLiteral("Report file(*.QRP)|*.QRP|Text (*.txt)|*.txt")),
            QStringList({QStringLiteral("Report file(*.QRP *.qrp)"),
                         QStringLiteral("Text (*.txt *.TXT)")}));
  EXPECT_EQ(ToQtFilters(QStringLiteral("Pictures|*.png;*.JPG")),
            QStringList{QStringLiteral("Pictures (*.png *.PNG *.JPG *.jpg)")});
  EXPECT_TRUE(ToQtFilters(QString()).isEmpty());
}

TEST_F(PrinterTest, PagesOutsideTheRangeNeverReachPaper) {
  QTemporaryDir dir;
  PdfPrinters printers(dir.path());
  struct Case {
    int first, last;
    QStringList printed;
  };
  const Case cases[] = {
      {2, 2, {"page 2"}},
      {0, 0, {"page 1", "page 2", "page 3"}},
      {2, 0, {"page 2", "page 3"}},
      {0, 2, {"page 1", "page 2"}},
  };
  for (const Case& c : cases) {
    TQRPrinter p;
    p.SetDestination(TQRPrinterDestination::Printer);
    p.PrinterSettings().SetPrinterIndex(-1, printers);
    p.SetFirstPage(c.first);
    p.SetLastPage(c.last);
    p.BeginDoc();
    EXPECT_EQ(p.XFactor(), FactorForDpi(1200));
    for (int page = 1; page <= 3; ++page) {
      p.NewPage();
      p.PageCanvas().SetFont(CanvasFont{});
      p.PageCanvas().TextOut(p.XPos(200), p.YPos(200), QStringLiteral("page %1").arg(page));
    }
    p.EndDoc();
    const QString file = printers.WrittenFiles().last();
    const auto text = RunTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    ASSERT_TRUE(text.has_value());
    QStringList pages = QString::fromUtf8(*text).split(QChar('\f'), Qt::SkipEmptyParts);
    for (QString& page : pages) page = page.trimmed();
    pages.removeAll(QString());
    EXPECT_EQ(pages, c.printed) << c.first << ".." << c.last;
  }
}

TEST_F(PrinterTest, CancelledPrinterBuildAbortsTheJob) {
  QTemporaryDir dir;
  PdfPrinters printers(dir.path());
  ScopedPrinters scoped(printers);
  auto form = FormAfter();
  TQRPrinter p;
  p.SetDestination(TQRPrinterDestination::Printer);
  p.Cancel();  // cleared by the begin of the build
  form->Report1.Generate(p);
  EXPECT_EQ(p.Status(), TQRPrinterStatus::Finished);
  ASSERT_EQ(printers.WrittenFiles().size(), 1);
  // A cancel during the build: the report pass ends with abort, the job is dropped.
  TQRPrinter q;
  q.SetDestination(TQRPrinterDestination::Printer);
  q.PrepareBuild(form->Report1);
  q.BeginDoc();
  q.NewPage();
  q.Cancel();
  q.Abort();
  EXPECT_EQ(q.Status(), TQRPrinterStatus::Finished);
  ASSERT_EQ(printers.Files().size(), 2);
  EXPECT_EQ(printers.WrittenFiles().size(), 1) << "the aborted job left no document";
}

TEST_F(PrinterTest, BuildTakesTheReportSettingsEachTime) {
  QTemporaryDir dir;
  PdfPrinters printers(dir.path(), {QStringLiteral("a"), QStringLiteral("b")});
  ScopedPrinters scoped(printers);
  auto form = FormAfter();
  form->Report1.SetPrinterIndex(1);
  form->Report1.PrinterSettings.Copies = 3;
  form->Report1.PrinterSettings.FirstPage = 1;
  form->Report1.PrinterSettings.LastPage = 1;
  TQRPrinter p;
  p.PrepareBuild(form->Report1);
  EXPECT_EQ(p.PrinterSettings().DeviceName(), QStringLiteral("b"));
  EXPECT_EQ(p.PrinterSettings().Copies(), 3);
  EXPECT_EQ(p.FirstPage(), 1);
  EXPECT_EQ(p.LastPage(), 1);
  EXPECT_EQ(p.PrinterSettings().PaperSize(), TQRPaperSize::A4);
  EXPECT_EQ(p.PrinterSettings().OutputBin(), TQRBin::Auto);
  // Without a printer only what needs no device sticks: A4 portrait, one copy.
  NoPrinters none;
  ScopedPrinters noneScoped(none);
  TQRPrinter q;
  q.PrepareBuild(form->Report1);
  EXPECT_EQ(q.PrinterSettings().Copies(), 1);
  EXPECT_EQ(q.PrinterSettings().PaperSize(), TQRPaperSize::A4);
  EXPECT_EQ(q.PrinterSettings().Orientation(), TQROrientation::Portrait);
}

}  // namespace
}  // namespace hb9cv
