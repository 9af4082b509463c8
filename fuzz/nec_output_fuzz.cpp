// Reads the input as nec2c's printed output, then lets a simulation take it as the answer to
// every deck it runs, as a nec2c that writes garbage or stops short would.
#include <cstdint>
#include <string>

#include "sim/nec_output.h"
#include "sim/sim_errors.h"
#include "sim/simulation.h"

namespace {

class Canned : public hb9cv::NecEngine {
 public:
  explicit Canned(std::string text) : text_(std::move(text)) {}
  std::string Run(const std::string&) override { return text_; }

 private:
  std::string text_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  static const hb9cv::DimensionSet design = hb9cv::ComputeDimensions(145);
  try {
    hb9cv::ParseNecOutput(text);
    hb9cv::FailureReason(text);
    Canned nec(text);
    hb9cv::Simulate({design, std::nullopt, std::nullopt}, nec);
  } catch (const hb9cv::ESimulationError&) {
  }
  return 0;
}
