#pragma once
// Number texts: the locale's separators and the float-formatting patterns
// the program shows numbers with. No Qt: the application fills the settings
// from the system locale at start-up.

#include <string>

namespace tensim {

struct TFormatSettings {
    std::string DecimalSeparator = ".";
    std::string ThousandSeparator = ",";
};

// The program's one locale setting.
TFormatSettings& FormatSettings();

// Formats Value by a pattern of the form [int part][.dec part][E+|E-[0..]]:
// "0" a digit always shown, "#" a digit shown only when significant,
// "," in the integer part groups thousands, "." the decimal separator,
// "E-"/"E+" scientific notation (sign of the exponent always with "E+",
// only when negative with "E-"; the zeros after it are the minimum exponent
// digits). The value is rounded half away from zero to the digits shown.
std::string FormatFloat(const std::string& Format, long double Value);

// Fixed notation with Digits decimals (0 to 18), the value first rounded to Precision
// significant digits; general notation when the integer part would need more
// than Precision digits.
std::string FloatToStrFixed(long double Value, int Precision, int Digits);

// General notation with at most Precision significant digits and no trailing
// zeros: fixed when the integer part has at most Precision digits and the
// magnitude is at least 1E-5, otherwise scientific with at least ExpDigits
// exponent digits ("1.5E-7", "1E20").
std::string FloatToStrGeneral(long double Value, int Precision, int ExpDigits = 0);

} // namespace tensim
