#pragma once

#include <stdexcept>
#include <string>

namespace kovan {

// The error kinds the application-wide handler tells apart. Code that fails in one of these
// ways throws the matching class, so the handler can classify without guessing from texts.

// Integer division by zero.
class DivisionByZeroError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Access to an invalid memory address (a null object reached through a handler, say).
class InvalidAccessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be opened (or created).
class FileOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that does not convert into a number, date or other value.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Composes the text the application-wide error handler derives from an exception.
// The handler drops it; a debug build may print it.
std::string composeErrorText(const std::exception& e);
std::string composeUnknownErrorText();

} // namespace kovan
