#pragma once
// A command line that cannot be run as given; the message is one line, without the usage hint.
#include "calc/errors.h"

namespace hb9cv {

class CommandLineError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace hb9cv
