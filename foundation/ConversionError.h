#pragma once
// The conversion error: a text that is not a number, date or time where one is wanted, or a
// bad format text. A command that meets one simply stops: the program-wide error handler
// drops it without a message.

#include <stdexcept>

namespace kavina {

class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace kavina
