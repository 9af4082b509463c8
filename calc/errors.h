#pragma once
// The program's error classes. Every error that reaches the event loop is shown to the
// user with its message; the class tells where it came from.
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "calc/translate.h"

namespace hb9cv {

// The translations' context of every error message.
inline constexpr char kErrorContext[] = "Errors";

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  // A message the windows and the command line show in the user's language: `pattern` is marked
  // HB9CV_TRANSLATE_NOOP("Errors", ...) and its %1, %2 ... are filled from `args`.
  Exception(const char* pattern, std::vector<std::string> args)
      : message_(FillPattern(pattern, args)), pattern_(pattern), args_(std::move(args)) {}
  // The message as UTF-8, in the program's own language.
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }
  // nullptr for a message that has no translation.
  const char* Pattern() const noexcept { return pattern_; }
  const std::vector<std::string>& Args() const noexcept { return args_; }

 private:
  std::string message_;
  const char* pattern_ = nullptr;
  std::vector<std::string> args_;
};

// A text that does not convert to a number.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// An invalid operation, a division by zero or an overflow of the extended arithmetic.
class EMathError : public Exception {
 public:
  using Exception::Exception;
};

// A number outside the range a calculation can handle.
class ERangeError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace hb9cv
