#pragma once
// nec2c as the separate program it is: each deck in a private temporary folder removed
// afterwards, a run over the time limit killed, and the whole simulation on a worker thread so
// that the window never waits.
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/simulation.h"

class QThread;

namespace hb9cv {

inline constexpr int kNecTimeoutMs = 10000;
inline constexpr char kNecProgram[] = "nec2c";

class NecProcess : public NecEngine {
 public:
  // `program`: a name found on PATH or a path. `cancelled`, when given, is watched while a run
  // waits; once set the run is killed and throws ESimulationCancelled.
  explicit NecProcess(QString program = QString::fromLatin1(kNecProgram),
                      int timeoutMs = kNecTimeoutMs,
                      std::shared_ptr<const std::atomic<bool>> cancelled = nullptr);

  // Throws ESimulationError: program missing, failing, too slow, or no output.
  std::string Run(const std::string& deck) override;

 private:
  QString program_;
  int timeoutMs_;
  std::shared_ptr<const std::atomic<bool>> cancelled_;
};

class SimulationRunner : public QObject {
  Q_OBJECT
 public:
  explicit SimulationRunner(QObject* parent = nullptr,
                            QString program = QString::fromLatin1(kNecProgram),
                            int timeoutMs = kNecTimeoutMs);
  ~SimulationRunner() override;

  // Cancels the simulation running, if any, and starts this one.
  void Start(const SimulationRequest& request);
  void Cancel();
  bool Running() const { return running_; }

 signals:
  void Finished(const hb9cv::SimulationResults& results);
  void Failed(const QString& message);

 private:
  void Deliver(unsigned job, const std::function<void()>& emitIt);

  QString program_;
  int timeoutMs_;
  unsigned job_ = 0;
  bool running_ = false;
  std::shared_ptr<std::atomic<bool>> cancelled_;
  std::vector<QThread*> threads_;
};

}  // namespace hb9cv
