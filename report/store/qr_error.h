#pragma once
#include "calc/errors.h"

namespace hb9cv {

// Misuse of the report printer, and failures of the report file layer.
class EQRError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace hb9cv
