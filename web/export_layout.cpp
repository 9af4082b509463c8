// Writes, as JSON, the layout the web page copies from the desktop program: the main window's
// controls and labels in pixels and the report page's labels in millimetres, read from the
// built windows themselves, so the page has no second copy of either table.
//   hb9cv_web_layout FILE
#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>
#include <QPushButton>
#include <cmath>
#include <cstdio>

#include "calc/value_table.h"
#include "report/print_form.h"
#include "ui/label.h"
#include "ui/main_form.h"
#include "ui/warning_form.h"

namespace hb9cv {
namespace {

// The command-line name of the value a label shows, or null.
template <typename Find>
QJsonValue ValueName(const void* label, Find find) {
  for (const ValueRow& row : kValueTable) {
    if (find(row.id) == label) return QString::fromLatin1(row.name);
  }
  return QJsonValue::Null;
}

// The report keeps its geometry in millimetres (TPrintForm sets the unit); three decimals are
// what it stores.
double Millimetres(Float80 value) {
  return std::round(static_cast<double>(value) * 1000) / 1000;
}

QJsonObject Window(TForm1& form) {
  QJsonArray labels;
  for (FormLabel* label : form.findChildren<FormLabel*>()) {
    labels.append(
        QJsonObject{{"name", label->objectName()},
                    {"value", ValueName(label, [&](ValueId id) { return form.WindowLabel(id); })},
                    {"overDrawing", label->parentWidget() == form.Panel1},
                    {"x", label->x()},
                    {"y", label->y()},
                    {"px", label->font().pixelSize()},
                    {"bold", label->font().bold()},
                    {"centred", (label->alignment() & Qt::AlignHCenter) != 0},
                    {"caption", label->Caption()}});
  }
  const auto rect = [](const QWidget* w) {
    return QJsonArray{w->x(), w->y(), w->width(), w->height()};
  };
  QJsonArray menu;
  for (QAction* item : form.MainMenu1->actions()) {
    menu.append(QJsonObject{{"name", item->objectName()}, {"caption", item->text()}});
  }
  return QJsonObject{
      {"title", form.windowTitle()},
      {"client", QJsonArray{TForm1::kClientSize.width(), TForm1::kClientSize.height()}},
      {"field", rect(form.MaskEdit1)},
      {"fieldPx", form.MaskEdit1->font().pixelSize()},
      {"panel", rect(form.Panel1)},
      {"image", rect(form.Image1)},
      {"labels", labels},
      {"menu", menu}};
}

QJsonObject Warning(TForm3& warning) {
  return QJsonObject{
      {"client", QJsonArray{TForm3::kClientSize.width(), TForm3::kClientSize.height()}},
      {"label", QJsonObject{{"caption", warning.Label1->Caption()},
                            {"x", warning.Label1->x()},
                            {"y", warning.Label1->y()},
                            {"px", warning.Label1->font().pixelSize()}}},
      {"button",
       QJsonObject{{"caption", warning.BitBtn1->text()},
                   {"rect", QJsonArray{warning.BitBtn1->x(), warning.BitBtn1->y(),
                                       warning.BitBtn1->width(), warning.BitBtn1->height()}},
                   {"px", warning.BitBtn1->font().pixelSize()}}}};
}

QJsonObject Report(TPrintForm& print) {
  QJsonArray labels;
  QJsonArray image;
  for (const auto& element : print.TitleBand1->Elements()) {
    const TQRPrintableSize& size = element->Size;
    const auto* label = dynamic_cast<const TQRCustomLabel*>(element.get());
    if (label == nullptr) {
      image = QJsonArray{Millimetres(size.Left()), Millimetres(size.Top()),
                         Millimetres(size.Width()), Millimetres(size.Height())};
      continue;
    }
    labels.append(
        QJsonObject{{"name", element->Name()},
                    {"value", ValueName(label, [&](ValueId id) { return print.ValueLabel(id); })},
                    {"left", Millimetres(size.Left())},
                    {"top", Millimetres(size.Top())},
                    {"pt", label->Font().pointSize},
                    {"bold", label->Font().bold},
                    {"underline", label->Font().underline},
                    {"family", label->Font().family},
                    {"caption", label->Caption()}});
  }
  const TQRPage& page = print.Report1.Page;
  return QJsonObject{{"paper", QJsonArray{Millimetres(page.Width()), Millimetres(page.Length())}},
                     {"band", QJsonArray{Millimetres(page.Value(TQRPage::kLeftMargin)),
                                         Millimetres(page.Value(TQRPage::kTopMargin))}},
                     {"image", image},
                     {"labels", labels}};
}

}  // namespace
}  // namespace hb9cv

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  hb9cv::TForm1 form;
  hb9cv::TPrintForm print;
  hb9cv::TForm3 warning;
  const QJsonObject layout{{"window", hb9cv::Window(form)},
                           {"warning", hb9cv::Warning(warning)},
                           {"report", hb9cv::Report(print)}};
  QFile out(QString::fromLocal8Bit(argv[1]));
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(QJsonDocument(layout).toJson(QJsonDocument::Indented)) < 0) {
    std::fprintf(stderr, "could not write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
