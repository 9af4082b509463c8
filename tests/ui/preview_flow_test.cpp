// "&Tisk" from the main window: the preview opens inside the command, the main window keeps
// computing while it is open, a second preview shows the new values, and errors of the
// preview's file commands reach the program's error box.
#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "../report/preview_test_util.h"
#include "report/report_printing.h"
#include "test_application.h"
#include "ui/label.h"
#include "ui/main_form.h"

namespace hb9cv {
namespace {

using namespace pvtest;

// Whether a page picture draws `text` (the recorder writes texts as UTF-16).
bool PageShows(const Metafile& page, const QString& text) {
  const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  return page.Bytes().contains(utf16);
}

QString Text(const std::string& s) {
  return QString::fromStdString(s);
}

class PreviewFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator(',');
    ASSERT_TRUE(dir.isValid());
    printers = std::make_unique<PdfPrinters>(dir.path());
    scoped.emplace(*printers);
    form1.SetReport(&printForm);
    form1.show();
  }
  void TearDown() override {
    for (TQRStandardPreview* w : PreviewWindows()) w->close();
    QCoreApplication::processEvents();
  }

  QTemporaryDir dir;
  std::unique_ptr<PdfPrinters> printers;
  std::optional<ScopedPrinters> scoped;
  TForm1 form1;
  TPrintForm printForm;
};

TEST_F(PreviewFlowTest, MainWindowComputesWhileAPreviewIsOpen) {
  const DimensionSet first = ComputeDimensions(145.0);
  const DimensionSet second = ComputeDimensions(435.0);
  ASSERT_EQ(Text(first.Z_text), QStringLiteral("951,7 mm"));
  form1.SetFieldText(QStringLiteral("0145,000"));
  form1.Potej1->trigger();
  ASSERT_TRUE(form1.Tisk1->isEnabled());

  bool innerChecked = false;
  RunInLoop({[&] {
    const auto windows = PreviewWindows();
    ASSERT_EQ(windows.size(), 1u);
    const Metafile page1 = windows.front()->QRPreview->PreviewImage()->Picture();
    EXPECT_TRUE(PageShows(page1, Text(first.Z_text)));
    EXPECT_TRUE(PageShows(page1, QStringLiteral("145 MHz")));

    // The main window works while the preview is open.
    form1.SetFieldText(QStringLiteral("0435,000"));
    form1.Potej1->trigger();
    EXPECT_EQ(form1.Label_Z->Caption(), Text(second.Z_text));

    RunInLoop({[&] {
                const auto both = PreviewWindows();
                ASSERT_EQ(both.size(), 2u);
                TQRPrinter* newest = printForm.Report1.Printing().CurrentPrinter();
                for (TQRStandardPreview* w : both) {
                  const Metafile page = w->QRPreview->PreviewImage()->Picture();
                  if (w->QRPrinter() == newest) {
                    EXPECT_TRUE(PageShows(page, Text(second.Z_text)));
                    EXPECT_TRUE(PageShows(page, QStringLiteral("435 MHz")));
                    EXPECT_FALSE(PageShows(page, Text(first.Z_text)));
                  } else {
                    EXPECT_TRUE(PageShows(page, Text(first.Z_text)))
                        << "the first preview keeps its page";
                  }
                }
                innerChecked = true;
                for (TQRStandardPreview* w : both) {
                  if (w->QRPrinter() != newest) w->close();
                }
                for (TQRStandardPreview* w : PreviewWindows()) w->close();
              }},
              2);
    form1.Tisk1->trigger();  // a second "&Tisk" from inside the first preview
  }});
  form1.Tisk1->trigger();
  EXPECT_TRUE(innerChecked);
  EXPECT_TRUE(PreviewWindows().empty());
  EXPECT_EQ(printForm.Report1.Printing().PrinterCount(), 0);
  EXPECT_TRUE(form1.isVisible());
}

TEST_F(PreviewFlowTest, FileErrorsOfThePreviewReachTheErrorBox) {
  std::vector<std::pair<QString, QString>> boxes;
  const ErrorBox previous = SetErrorBox([&](const QString& title, const QString& text) {
    boxes.push_back({title, text});
  });
  ScriptedDialogs dialogs;
  ScopedDialogs scopedDialogs(dialogs);
  const QString garbage = dir.filePath(QStringLiteral("broken.QRP"));
  {
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(500, '\x03'));
  }
  const QString unwritable = dir.filePath(QStringLiteral("no/such/folder/report.QRP"));
  form1.SetFieldText(QStringLiteral("0145,000"));
  form1.Potej1->trigger();
  RunInLoop({[&] {
    TQRStandardPreview* w = PreviewWindows().front();
    dialogs.fileAnswers.push_back(FileChoice{garbage, 0});
    w->LoadReport->click();
    dialogs.fileAnswers.push_back(FileChoice{unwritable, 0});
    w->SaveReport->click();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].first, QStringLiteral("HB9CV"));
    EXPECT_TRUE(boxes[0].second.contains(garbage)) << boxes[0].second.toStdString();
    EXPECT_TRUE(boxes[0].second.endsWith(QLatin1Char('.')));
    EXPECT_EQ(boxes[1].second, QStringLiteral("Cannot create file %1.").arg(unwritable));
    // The window keeps its pages.
    EXPECT_FALSE(w->QRPrinter()->LoadedFromFile());
    EXPECT_TRUE(w->QRPreview->PreviewImage()->PictureLoaded());
    w->close();
  }});
  form1.Tisk1->trigger();
  SetErrorBox(previous);
}

}  // namespace
}  // namespace hb9cv
