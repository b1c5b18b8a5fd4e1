// The family of errors the program raises. Every failure becomes an exception carrying the
// text the user is shown (GBK bytes); handlers let them pass to the application's default
// error display.
#pragma once

#include <exception>
#include <string>

namespace vorlund {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A file that cannot be opened: "Cannot open file "%s". %s".
class EFOpenError : public Exception {
  using Exception::Exception;
};

// A file whose read fails or falls short: "Cannot read file "%s". %s".
class EFReadError : public Exception {
  using Exception::Exception;
};

// A file that cannot be created: "Cannot create file "%s". %s".
class EFCreateError : public Exception {
  using Exception::Exception;
};

// A write that falls short: "Stream write error".
class EWriteError : public Exception {
  using Exception::Exception;
};

// A list box row that is not there, or a row the list refuses.
class EListError : public Exception {
  using Exception::Exception;
};

// A property value outside its range.
class EInvalidArgument : public Exception {
  using Exception::Exception;
};

// A system resource that is used up, such as timers.
class EOutOfResources : public Exception {
  using Exception::Exception;
};

// The heap cannot supply a block.
class EOutOfMemory : public Exception {
 public:
  EOutOfMemory() : Exception("Out of memory") {}
};

// The texts of the errors, with their placeholders.
inline constexpr const char kOpenFileError[] = "Cannot open file \"%s\". %s";
inline constexpr const char kReadFileError[] = "Cannot read file \"%s\". %s";
inline constexpr const char kCreateFileError[] = "Cannot create file \"%s\". %s";
inline constexpr const char kStreamWriteError[] = "Stream write error";
inline constexpr const char kListIndexError[] = "List index out of bounds (%d)";
inline constexpr const char kListInsertError[] = "Unable to insert a line";
inline constexpr const char kValueRangeError[] = "Value must be between %d and %d";
inline constexpr const char kNoTimersError[] = "Not enough timers available";

// Fills a "%s ... %s" file error text with the absolute path and the system's text.
std::string FormatFileError(const char* format, const std::string& path,
                            const std::string& system_text);

// Fills a text with one or two "%d" placeholders.
std::string FormatIntError(const char* format, int first, int second = 0);

}  // namespace vorlund
