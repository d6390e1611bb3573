#include "math/FloatFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tensim {

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

namespace {

// A finite value as 0.Digits x 10^Exponent; Digits holds no trailing zeros
// and is empty for zero.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// The decimal digits of |Value|, correctly rounded to 21 significant digits,
// beyond anything a long double holds.
TDecimal ExactDecimal(long double Value)
{
    TDecimal d;
    d.Negative = std::signbit(Value);
    if (Value == 0) return d;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.20Le", std::fabs(Value));
    // buffer: d.dddddddddddddddddddde[+-]x
    std::string mantissa;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') mantissa += *p;
    d.Exponent = std::atoi(p + 1) + 1;
    d.Digits = mantissa;
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    return d;
}

// Rounds half away from zero to at most Count significant digits; a
// negative Count means the value lies below half a unit of the last place.
void RoundToDigits(TDecimal& d, int Count)
{
    if (Count < 0) {
        d.Digits.clear();
        d.Exponent = 0;
        return;
    }
    if (static_cast<int>(d.Digits.size()) <= Count) return;
    const bool up = d.Digits[Count] >= '5';
    d.Digits.resize(Count);
    if (up) {
        int i = Count - 1;
        while (i >= 0 && d.Digits[i] == '9')
            d.Digits[i--] = '0';
        if (i >= 0) {
            ++d.Digits[i];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Exponent;
        }
    }
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits.empty()) d.Exponent = 0;
}

// Rounds to Precision significant digits and to Decimals places after the
// point, whichever keeps fewer digits.
TDecimal ToDecimal(long double Value, int Precision, int Decimals)
{
    TDecimal d = ExactDecimal(Value);
    if (d.Digits.empty()) return d;
    RoundToDigits(d, std::min(Precision, d.Exponent + Decimals));
    return d;
}

char DigitAt(const TDecimal& d, int Index)
{
    return Index >= 0 && Index < static_cast<int>(d.Digits.size()) ? d.Digits[Index] : '0';
}

std::string GroupThousands(const std::string& IntDigits)
{
    std::string out;
    const int n = static_cast<int>(IntDigits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += FormatSettings().ThousandSeparator;
        out += IntDigits[i];
    }
    return out;
}

std::string ExponentText(int Exponent, bool AlwaysSign, int MinDigits)
{
    std::string digits = std::to_string(std::abs(Exponent));
    if (static_cast<int>(digits.size()) < MinDigits)
        digits.insert(0, MinDigits - digits.size(), '0');
    std::string sign = Exponent < 0 ? "-" : (AlwaysSign ? "+" : "");
    return sign + digits;
}

// The parts of a pattern.
struct TPattern {
    int IntDigits = 0;    // placeholders before the point
    int MinIntDigits = 0; // from the first "0" before the point
    int DecDigits = 0;    // placeholders after the point
    int MinDecDigits = 0; // up to the last "0" after the point
    bool Thousands = false;
    bool Scientific = false;
    bool ExpSign = false; // "E+"
    int ExpDigits = 0;
};

TPattern ParsePattern(const std::string& Format)
{
    TPattern p;
    bool afterPoint = false, seenZero = false;
    for (size_t i = 0; i < Format.size(); ++i) {
        const char c = Format[i];
        if ((c == 'E' || c == 'e') && i + 1 < Format.size() &&
            (Format[i + 1] == '+' || Format[i + 1] == '-')) {
            p.Scientific = true;
            p.ExpSign = Format[i + 1] == '+';
            for (i += 2; i < Format.size() && Format[i] == '0'; ++i)
                ++p.ExpDigits;
            break;
        }
        if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            if (!afterPoint) p.Thousands = true;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++p.DecDigits;
                if (c == '0') p.MinDecDigits = p.DecDigits;
            } else {
                ++p.IntDigits;
                if (c == '0') seenZero = true;
                if (seenZero) ++p.MinIntDigits;
            }
        }
    }
    return p;
}

std::string Compose(bool Negative, std::string IntPart, const std::string& DecPart,
                    const std::string& Suffix)
{
    const bool zero = IntPart.find_first_not_of('0') == std::string::npos &&
                      DecPart.find_first_not_of('0') == std::string::npos;
    std::string text = (Negative && !zero) ? "-" : "";
    text += IntPart;
    if (!DecPart.empty()) text += FormatSettings().DecimalSeparator + DecPart;
    return text + Suffix;
}

} // namespace

std::string FloatToStrGeneral(long double Value, int Precision, int ExpDigits)
{
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    TDecimal d = ToDecimal(Value, Precision, 1 << 20);
    if (d.Digits.empty()) return "0";
    const bool fixed = d.Exponent <= Precision && d.Exponent > -5;
    if (fixed) {
        std::string intPart, decPart;
        for (int i = 0; i < std::max(d.Exponent, 1); ++i)
            intPart += d.Exponent > 0 ? DigitAt(d, i) : '0';
        for (int i = std::max(d.Exponent, 0); i < static_cast<int>(d.Digits.size()); ++i)
            decPart += DigitAt(d, i);
        if (d.Exponent < 0) decPart.insert(0, -d.Exponent, '0');
        return Compose(d.Negative, intPart, decPart, "");
    }
    return Compose(d.Negative, d.Digits.substr(0, 1), d.Digits.substr(1),
                   "E" + ExponentText(d.Exponent - 1, false, ExpDigits));
}

std::string FloatToStrFixed(long double Value, int Precision, int Digits)
{
    // Digits beyond 18 carry nothing a long double holds.
    Digits = std::clamp(Digits, 0, 18);
    if (!std::isfinite(Value)) return FloatToStrGeneral(Value, Precision);
    TDecimal d = ToDecimal(Value, Precision, Digits);
    if (d.Exponent > Precision) return FloatToStrGeneral(Value, Precision);
    std::string intPart, decPart;
    for (int i = 0; i < std::max(d.Exponent, 1); ++i)
        intPart += d.Exponent > 0 ? DigitAt(d, i) : '0';
    for (int i = 0; i < Digits; ++i)
        decPart += DigitAt(d, d.Exponent + i);
    return Compose(d.Negative, intPart, decPart, "");
}

std::string FormatFloat(const std::string& Format, long double Value)
{
    if (!std::isfinite(Value)) return FloatToStrGeneral(Value, 15);
    const TPattern p = ParsePattern(Format);

    if (p.Scientific) {
        const int intDigits = std::max(p.IntDigits, 1);
        TDecimal d = ToDecimal(Value, intDigits + p.DecDigits, 1 << 20);
        const int exponent = d.Digits.empty() ? 0 : d.Exponent - intDigits;
        std::string intPart;
        for (int i = 0; i < intDigits; ++i)
            intPart += DigitAt(d, i);
        // Leading placeholders before the first "0" drop leading zeros.
        while (static_cast<int>(intPart.size()) > std::max(p.MinIntDigits, 1) && intPart[0] == '0')
            intPart.erase(0, 1);
        std::string decPart;
        for (int i = 0; i < p.DecDigits; ++i)
            decPart += DigitAt(d, intDigits + i);
        while (static_cast<int>(decPart.size()) > p.MinDecDigits && decPart.back() == '0')
            decPart.pop_back();
        return Compose(d.Negative, intPart, decPart,
                       "E" + ExponentText(exponent, p.ExpSign, p.ExpDigits));
    }

    TDecimal d = ToDecimal(Value, 18, p.DecDigits);
    // Beyond 18 integer digits a fixed pattern has no meaningful digits left.
    if (d.Exponent > 18) return FloatToStrGeneral(Value, 15);
    std::string intPart;
    for (int i = 0; i < d.Exponent; ++i)
        intPart += DigitAt(d, i);
    if (static_cast<int>(intPart.size()) < p.MinIntDigits)
        intPart.insert(0, p.MinIntDigits - intPart.size(), '0');
    if (p.Thousands) intPart = GroupThousands(intPart);
    std::string decPart;
    for (int i = 0; i < p.DecDigits; ++i)
        decPart += DigitAt(d, d.Exponent + i);
    while (static_cast<int>(decPart.size()) > p.MinDecDigits && decPart.back() == '0')
        decPart.pop_back();
    return Compose(d.Negative, intPart, decPart, "");
}

} // namespace tensim
