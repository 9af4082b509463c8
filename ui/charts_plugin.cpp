// The plots with Qt Charts: azimuth and elevation as polar plots in dBi, the sweep with gain,
// front-to-back and matched SWR against frequency.
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPainter>
#include <QPolarChart>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "calc/errors.h"
#include "ui/antenna_charts.h"

namespace hb9cv {
namespace {

// The plots show this much below the strongest direction.
constexpr double kRangeDb = 30;

class Charts : public AntennaCharts {
 public:
  explicit Charts(QWidget* parent) : widget_(new QWidget(parent)) {
    auto* layout = new QHBoxLayout(widget_);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QChartView*& view : {std::ref(azimuth_), std::ref(elevation_), std::ref(sweep_)}) {
      view = new QChartView(widget_);
      view->setRenderHint(QPainter::Antialiasing);
      view->setMinimumSize(300, 300);
      layout->addWidget(view);
    }
    Clear();
  }

  QWidget* Widget() override { return widget_; }

  void Clear() override {
    for (QChartView* view : {azimuth_, elevation_, sweep_}) view->setChart(new QChart());
  }

  void Show(const SimulationResults& r) override {
    const double top = std::ceil(std::max(r.gainDbi, MaxGain(r.elevation)));
    // Azimuth 0° (towards the radiator) at the top; elevation with the horizon across, forward
    // to the right.
    azimuth_->setChart(Polar(QCoreApplication::translate("Charts", "Azimut (dBi)"), r.azimuth, top,
                             [](double deg) { return deg; }));
    elevation_->setChart(Polar(QCoreApplication::translate("Charts", "Elevace (dBi)"), r.elevation,
                               top, [](double deg) { return std::fmod(450 - deg, 360); }));
    sweep_->setChart(Sweep(r));
  }

  void Save(const QString& base) override {
    const std::pair<QChartView*, const char*> views[] = {
        {azimuth_, "-azimuth"}, {elevation_, "-elevation"}, {sweep_, "-sweep"}};
    for (const auto& [view, suffix] : views) {
      const QString name = base + QString::fromLatin1(suffix);
      if (!view->grab().save(name + QStringLiteral(".png"), "PNG")) Fail(name + ".png");
      QSvgGenerator svg;
      svg.setFileName(name + QStringLiteral(".svg"));
      svg.setSize(view->size());
      svg.setViewBox(view->rect());
      QPainter painter;
      if (!painter.begin(&svg)) Fail(name + ".svg");
      view->render(&painter);
      if (!painter.end()) Fail(name + ".svg");
    }
  }

 private:
  [[noreturn]] static void Fail(const QString& file) {
    throw Exception(QT_TRANSLATE_NOOP("Errors", "'%1' could not be written"), {file.toStdString()});
  }

  static double MaxGain(const std::vector<PatternPoint>& cut) {
    double best = -1000;
    for (const PatternPoint& p : cut) best = std::max(best, p.gainDbi);
    return best;
  }

  template <typename Angle>
  static QChart* Polar(const QString& title, const std::vector<PatternPoint>& cut, double top,
                       Angle angle) {
    auto* chart = new QPolarChart();
    chart->setTitle(title);
    chart->legend()->hide();
    auto* series = new QLineSeries();
    // A polar series runs by angle: start where the angle is smallest.
    std::vector<QPointF> points;
    for (const PatternPoint& p : cut) {
      points.emplace_back(angle(p.deg), std::max(p.gainDbi, top - kRangeDb));
    }
    std::sort(points.begin(), points.end(),
              [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    if (cut.size() >= 360 && !points.empty()) points.emplace_back(360, points.front().y());
    for (const QPointF& p : points) series->append(p);
    chart->addSeries(series);
    auto* angular = new QValueAxis();
    angular->setRange(0, 360);
    angular->setTickCount(13);
    angular->setLabelFormat(QStringLiteral("%.0f"));
    auto* radial = new QValueAxis();
    radial->setRange(top - kRangeDb, top);
    radial->setTickCount(4);
    radial->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(angular, QPolarChart::PolarOrientationAngular);
    chart->addAxis(radial, QPolarChart::PolarOrientationRadial);
    series->attachAxis(angular);
    series->attachAxis(radial);
    return chart;
  }

  static QChart* Sweep(const SimulationResults& r) {
    auto* chart = new QChart();
    chart->setTitle(QCoreApplication::translate("Charts", "Kmitočet (MHz)"));
    auto* gain = new QLineSeries();
    gain->setName(QCoreApplication::translate("Charts", "zisk dBi"));
    auto* fb = new QLineSeries();
    fb->setName(QCoreApplication::translate("Charts", "předozadní dB"));
    auto* swr = new QLineSeries();
    swr->setName(QCoreApplication::translate("Charts", "PSV"));
    for (const SweepPoint& p : r.sweep) {
      gain->append(p.mhz, p.gainDbi);
      fb->append(p.mhz, std::min(p.frontToBackDb, 40.0));
      swr->append(p.mhz, std::min(p.matchedSwr, 5.0));
    }
    auto* x = new QValueAxis();
    x->setRange(r.sweep.front().mhz, r.sweep.back().mhz);
    x->setTickCount(5);
    x->setLabelFormat(QStringLiteral("%.4g"));
    auto* db = new QValueAxis();
    db->setRange(-10, 40);
    db->setTitleText(QStringLiteral("dB"));
    auto* ratio = new QValueAxis();
    ratio->setRange(1, 5);
    ratio->setTitleText(QCoreApplication::translate("Charts", "PSV"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(db, Qt::AlignLeft);
    chart->addAxis(ratio, Qt::AlignRight);
    for (QLineSeries* s : {gain, fb, swr}) {
      chart->addSeries(s);
      s->attachAxis(x);
      s->attachAxis(s == swr ? ratio : db);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
  }

  QWidget* widget_;
  QChartView* azimuth_ = nullptr;
  QChartView* elevation_ = nullptr;
  QChartView* sweep_ = nullptr;
};

}  // namespace

class ChartsPlugin : public QObject, public AntennaChartsFactory {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID HB9CV_CHARTS_IID)
  Q_INTERFACES(hb9cv::AntennaChartsFactory)
 public:
  std::unique_ptr<AntennaCharts> Create(QWidget* parent) override {
    return std::make_unique<Charts>(parent);
  }
};

}  // namespace hb9cv

#include "charts_plugin.moc"
