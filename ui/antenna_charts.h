#pragma once
// The plots of a simulation. They draw with Qt Charts, which pulls in OpenGL and more: the
// implementation is a plugin loaded the first time the description window opens, so that the
// main window starts as fast as before.
#include <QString>
#include <QtPlugin>
#include <memory>

#include "sim/results.h"

class QWidget;

namespace hb9cv {

class AntennaCharts {
 public:
  virtual ~AntennaCharts() = default;
  // The three plots side by side; owned by the parent given to the factory.
  virtual QWidget* Widget() = 0;
  virtual void Show(const SimulationResults& results) = 0;
  virtual void Clear() = 0;
  // Writes base + "-azimuth", "-elevation" and "-sweep", each as .png and .svg. Throws
  // Exception when a file cannot be written.
  virtual void Save(const QString& base) = 0;
};

class AntennaChartsFactory {
 public:
  virtual ~AntennaChartsFactory() = default;
  virtual std::unique_ptr<AntennaCharts> Create(QWidget* parent) = 0;
};

// The plugin's factory, loaded once; nullptr when the plugin is not installed.
AntennaChartsFactory* ChartsFactory();

}  // namespace hb9cv

#define HB9CV_CHARTS_IID "org.hb9cv.AntennaChartsFactory/1"
Q_DECLARE_INTERFACE(hb9cv::AntennaChartsFactory, HB9CV_CHARTS_IID)
