#pragma once
// A command line that cannot be run as given; the message is one line, without the usage hint.
#include "calc/errors.h"

namespace hb9cv {

class CommandLineError : public Exception {
 public:
  using Exception::Exception;
};

// Read in more than one place: the options of the computation and of the simulation.
inline constexpr char kGivenTwice[] = HB9CV_TRANSLATE_NOOP("Errors", "option '%1' given twice");

}  // namespace hb9cv
