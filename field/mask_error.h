#pragma once
#include "calc/errors.h"

namespace hb9cv {

// A failed validation of a masked field.
class EDBEditError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace hb9cv
