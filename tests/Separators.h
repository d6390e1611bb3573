#pragma once
// Sets the locale separators for one test and restores them after.

#include "math/FloatFormat.h"

#include <string>

namespace tensim {

class Separators {
public:
    Separators(const std::string& decimal, const std::string& thousand) : saved_(FormatSettings())
    {
        FormatSettings().DecimalSeparator = decimal;
        FormatSettings().ThousandSeparator = thousand;
    }
    ~Separators() { FormatSettings() = saved_; }
    Separators(const Separators&) = delete;
    Separators& operator=(const Separators&) = delete;

private:
    TFormatSettings saved_;
};

} // namespace tensim
