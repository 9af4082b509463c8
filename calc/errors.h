#pragma once
// The program's error classes. Every error that reaches the event loop is shown to the
// user with its message; the class tells where it came from.
#include <exception>
#include <string>
#include <utility>

namespace hb9cv {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  // The message as UTF-8.
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
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
