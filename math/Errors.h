#pragma once
// The common base of the program's error classes: each carries its fixed
// English message, returned by what().

#include <stdexcept>
#include <string>

namespace tensim {

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tensim
