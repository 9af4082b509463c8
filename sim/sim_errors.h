#pragma once
// Failures of a simulation run: nec2c missing, failing, hanging or writing what cannot be read.
#include "calc/errors.h"

namespace hb9cv {

class ESimulationError : public Exception {
 public:
  using Exception::Exception;
};

// A run given up because a newer request replaced it; nobody is told.
class ESimulationCancelled : public ESimulationError {
 public:
  using ESimulationError::ESimulationError;
};

}  // namespace hb9cv
