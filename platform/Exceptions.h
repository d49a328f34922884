#pragma once

#include <exception>
#include <string>

// Base of every error the program raises; the message is UTF-8 and is shown
// to the operator as it stands.
class Exception : public std::exception {
  public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }

  private:
    std::string message_;
};

// A file could not be opened, read or written.
class EInOutError : public Exception {
    using Exception::Exception;
};

// Text that should hold a number does not.
class EConvertError : public Exception {
    using Exception::Exception;
};

// The options file could not be written.
class EIniFileException : public Exception {
    using Exception::Exception;
};

// The system refused a resource, such as a timer.
class EOutOfResources : public Exception {
    using Exception::Exception;
};
