#pragma once
// The root of every error the program raises. Each error class carries the
// message text users see; subsystems derive their own named classes from it.
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vs {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string message_;
};

// Raised when a text is not a valid number ("'x' is not a valid integer value").
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Fills the "%s" and "%d" placeholders of a message text, left to right, with
// the given argument texts. "%%" gives "%"; surplus placeholders stay empty.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace vs
