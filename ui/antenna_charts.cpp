#include "ui/antenna_charts.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

namespace hb9cv {

AntennaChartsFactory* ChartsFactory() {
  static AntennaChartsFactory* factory = []() -> AntennaChartsFactory* {
    // Installed beside the program's libraries; in a build tree, where it was built.
    const QString dirs[] = {QDir(QCoreApplication::applicationDirPath())
                                .filePath(QStringLiteral(HB9CV_PLUGIN_RELATIVE_DIR)),
                            QStringLiteral(HB9CV_PLUGIN_BUILD_DIR)};
    for (const QString& dir : dirs) {
      QPluginLoader loader(QDir(dir).filePath(QStringLiteral("hb9cv_charts")));
      if (auto* found = qobject_cast<AntennaChartsFactory*>(loader.instance())) return found;
    }
    return nullptr;
  }();
  return factory;
}

}  // namespace hb9cv
