// The simulation of one design at 145 MHz (both patterns at the design frequency, the 61-point
// sweep and the run that finds the best front-to-back) against nec2c alone on the very same
// decks: what the program adds is starting the process through QProcess, the temporary
// folder, writing the decks and reading the outputs.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QTemporaryDir>
#include <fstream>

#include "sim/nec_runner.h"
#include "sim/simulation.h"

extern char** environ;

namespace hb9cv {
namespace {

const SimulationRequest kRequest{ComputeDimensions(145), std::nullopt, std::nullopt};

// The decks one simulation runs.
class Recorder : public NecEngine {
 public:
  std::string Run(const std::string& deck) override {
    decks.push_back(deck);
    return real.Run(deck);
  }
  NecProcess real;
  std::vector<std::string> decks;
};

void BM_Simulate(benchmark::State& state) {
  NecProcess nec;
  for (auto _ : state) benchmark::DoNotOptimize(Simulate(kRequest, nec));
}
BENCHMARK(BM_Simulate)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_Nec2cAlone(benchmark::State& state) {
  Recorder recorder;
  Simulate(kRequest, recorder);
  QTemporaryDir dir;
  std::vector<std::string> inputs;
  for (size_t i = 0; i < recorder.decks.size(); ++i) {
    inputs.push_back(dir.filePath(QStringLiteral("d%1.nec").arg(i)).toStdString());
    std::ofstream(inputs.back()) << recorder.decks[i];
  }
  const std::string output = dir.filePath(QStringLiteral("out.txt")).toStdString();
  for (auto _ : state) {
    for (const std::string& input : inputs) {
      const char* argv[] = {"nec2c", "-i", input.c_str(), "-o", output.c_str(), nullptr};
      pid_t pid = 0;
      posix_spawnp(&pid, "nec2c", nullptr, nullptr, const_cast<char**>(argv), environ);
      int status = 0;
      waitpid(pid, &status, 0);
    }
  }
  state.counters["decks"] = static_cast<double>(inputs.size());
}
BENCHMARK(BM_Nec2cAlone)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
}  // namespace hb9cv
