#pragma once
// Failures are exceptions carrying a message, as throughout the programs.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A file could not be opened, read or written.
class EFileError : public Exception {
 public:
  using Exception::Exception;
};

// A picture file is damaged or of a kind we cannot read.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

// An index outside a list.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// A value of the wrong kind was assigned.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};
