#include "controls/NumberBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tensim {

namespace {

bool IsDigit(QChar c)
{
    return c >= '0' && c <= '9';
}

int CountOf(const QString& Text, QChar c)
{
    return c.isNull() ? 0 : static_cast<int>(Text.count(c));
}

// Mantissas beyond 100 significant digits are cut (with a sticky digit) so
// that very long texts convert in linear time.
std::optional<long double> TextToFloat(const QString& Text, QChar Decimal)
{
    int i = 0, n = static_cast<int>(Text.size());
    while (i < n && Text[i] == ' ')
        ++i;
    while (n > i && Text[n - 1] == ' ')
        --n;
    bool negative = false;
    if (i < n && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';

    constexpr int MaxDigits = 100;
    constexpr long ExponentLimit = 1L << 20; // far beyond any long double
    std::string digits;                      // significant digits, no leading zeros
    long exponent = 0;                       // value = digits x 10^exponent
    bool dropped = false, anyDigit = false, point = false;
    for (; i < n; ++i) {
        const QChar c = Text[i];
        if (IsDigit(c)) {
            anyDigit = true;
            if (point) --exponent;
            if (digits.empty() && c == '0') continue;
            if (static_cast<int>(digits.size()) < MaxDigits) {
                digits += static_cast<char>(c.unicode());
            } else {
                ++exponent;
                dropped = dropped || c != '0';
            }
        } else if (c == Decimal && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit && !point) return std::nullopt;
    if (i < n && (Text[i] == 'E' || Text[i] == 'e')) {
        ++i;
        bool expNegative = false;
        if (i < n && (Text[i] == '+' || Text[i] == '-')) expNegative = Text[i++] == '-';
        long e = 0;
        for (; i < n && IsDigit(Text[i]); ++i)
            e = std::min(e * 10 + (Text[i].unicode() - '0'), ExponentLimit);
        exponent += expNegative ? -e : e;
    }
    if (i != n) return std::nullopt;
    if (digits.empty()) return negative ? -0.0L : 0.0L;
    if (dropped) {
        digits += '1';
        --exponent;
    }
    exponent = std::clamp(exponent, -ExponentLimit, ExponentLimit);
    // No decimal point in this text, so the C library's locale does not matter.
    const std::string plain = digits + "e" + std::to_string(exponent);
    const long double v = std::strtold(plain.c_str(), nullptr);
    if (!std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

} // namespace

QString WithoutThousands(QString Text, QChar Thousand)
{
    if (!Thousand.isNull()) Text.remove(Thousand);
    return Text;
}

std::optional<long double> ReadNumber(const QString& Text, QChar Decimal, QChar Thousand)
{
    const QString plain = WithoutThousands(Text, Thousand);
    return TextToFloat(plain.isEmpty() ? QString("0") : plain, Decimal);
}

bool TNumberBuffer::IsSkip(QChar c) const
{
    return c == Decimal || (!Thousand.isNull() && c == Thousand) || c == 'E';
}

void TNumberBuffer::SetCaret(int Caret)
{
    SelStart = std::clamp(Caret, 0, Size());
    SelLength = 0;
}

void TNumberBuffer::Select(int Index)
{
    SelStart = Index;
    SelLength = 1;
}

void TNumberBuffer::DeleteOneChar(bool Backspace)
{
    const int length = Size();
    const int c = SelStart;
    const int s = Pos(Decimal);
    const int e = Text.indexOf('E') < 0 ? length + 1 : Pos('E');
    int b;
    if (Backspace) {
        b = c;
        if (c >= 1 && IsSkip(Text[c - 1])) b = c - 1;
    } else {
        b = c + 1;
        if (c + 1 <= length && IsSkip(Text[c])) b = c + 2;
    }
    if (b <= 0 || b > length) return;
    if (s != 0 && s < b && b < e) {
        // A fractional digit: the fraction closes up and keeps its length.
        Text.remove(b - 1, 1);
        if (Decimals > 0) Text.insert(e <= length ? e - 2 : Size(), '0');
        SetCaret(b - 1);
    } else if (b == 1 && Text.startsWith('-')) {
        Text.remove(0, 1);
        if (Text.isEmpty()) Text = "0";
        SetCaret(0);
    } else if (b == 1 && (length == 1 || Text[1] == Decimal || Text[1] == 'E')) {
        Text[0] = '0';
        SetCaret(1);
    } else {
        Text.remove(b - 1, 1);
        SetCaret(b - 1);
        if ((Format == TNumberFormat::Scientific || Format == TNumberFormat::Engineering) &&
            Text.endsWith('E'))
            Text += '0';
        // The last digit of a mantissa without a separator ("-5", "-5E3")
        // becomes 0, so that a number is left.
        const int end = Text.indexOf('E') < 0 ? Size() : Pos('E') - 1;
        const QString mantissa = Text.left(end);
        if (!std::any_of(mantissa.begin(), mantissa.end(),
                         [this](QChar ch) { return IsDigit(ch) || ch == Decimal; }))
            Text.insert(b - 1, '0');
    }
}

void TNumberBuffer::DeleteSelection()
{
    if (SelLength == 0) return;
    if (SelLength >= Size()) {
        Text = ZeroText;
        SetCaret(0);
        return;
    }
    const QString selected = Text.mid(SelStart, SelLength);
    int k = static_cast<int>(selected.size()) - CountOf(selected, Thousand);
    if (k == 0) k = 1;
    if (selected.contains(Decimal)) --k;
    SetCaret(SelStart + SelLength);
    for (int i = 0; i < k; ++i)
        DeleteOneChar(true);
}

void TNumberBuffer::DeleteKey(bool Backspace)
{
    if (SelLength > 0)
        DeleteSelection();
    else
        DeleteOneChar(Backspace);
}

bool TNumberBuffer::TypeChar(QChar Char)
{
    if (Char == 'e') Char = 'E';
    const bool digit = IsDigit(Char);
    if (!digit && Char != '-' && Char != 'E' && Char != Decimal) return false;
    const TNumberBuffer before = *this;
    const int p = SelStart;
    const int e = Pos('E');
    if (Char == 'E' || Char == Decimal)
        SetCaret(SelStart);
    else
        DeleteSelection();
    if (Text.startsWith('-') && SelStart == 0) SetCaret(1);

    if (Char == '-') {
        const int exponent = static_cast<int>(Text.indexOf('E'));
        if (e != 0 && p >= e && exponent >= 0) {
            if (exponent + 1 < Size() && Text[exponent + 1] == '-') {
                Text.remove(exponent + 1, 1);
                SetCaret(p - 1);
            } else {
                Text.insert(exponent + 1, '-');
                SetCaret(p + 1);
            }
        } else if (Text.startsWith('-')) {
            Text.remove(0, 1);
            SetCaret(p - 1);
        } else {
            Text.prepend('-');
            SetCaret(p + 1);
        }
    } else if (Char == Decimal) {
        const int separator = static_cast<int>(Text.indexOf(Decimal));
        if (separator >= 0) {
            SetCaret(separator + 1);
        } else {
            int at = SelStart;
            if (Decimals < 0) at = Text.indexOf('E') < 0 ? Size() : Pos('E') - 1;
            Text.insert(at, Decimal);
            SetCaret(at + 1);
        }
    } else if (Char == 'E') {
        if (Pos('E') != 0) {
            SetCaret(Pos('E'));
        } else {
            Text += 'E';
            SetCaret(Size());
        }
    } else if (!TypeDigit(Char)) {
        return SelStart != before.SelStart || Text != before.Text;
    }
    return true;
}

bool TNumberBuffer::TypeDigit(QChar Digit)
{
    int c = SelStart;
    const int exponent = static_cast<int>(Text.indexOf('E'));
    // Within an exponent "E-", digits go after the minus sign.
    if (exponent >= 0 && c == exponent + 1 && c < Size() && Text[c] == '-') ++c;
    const bool exponentStart =
        exponent >= 0 && (c == exponent + 1 || (c == exponent + 2 && Text[c - 1] == '-'));
    if (Text.startsWith('-') && c <= 2 && Size() > 1 && Text[1] == '0') {
        Select(1);
    } else if (c <= 1 && Size() > 0 && Text[0] == '0') {
        Select(0);
    } else if (exponentStart && c < Size() && Text[c] == '0') {
        Select(c);
    } else if (Decimals >= 1 && Pos(Decimal) != 0) {
        const int s = Pos(Decimal);
        if (c == s + Decimals) return false;
        if (c >= s && c < Size()) {
            // Overwrite the next digit; an "E" is never overwritten.
            if (Text[c] == 'E') return false;
            Select(c);
        } else {
            SetCaret(c);
        }
    } else {
        SetCaret(c);
    }
    Text.replace(SelStart, SelLength, Digit);
    SetCaret(SelStart + 1);
    return true;
}

bool TNumberBuffer::Regroup(const QString& Grouped, bool Forced)
{
    const int gained = CountOf(Grouped, Thousand) - CountOf(Text, Thousand);
    const bool moved = !Thousand.isNull() && Grouped.indexOf(Thousand) != Text.indexOf(Thousand);
    if (gained == 0 && !moved && !Forced) return false;
    int caret = SelStart + gained;
    if (Grouped.contains(Decimal) && !Text.contains(Decimal)) ++caret;
    if (!Grouped.contains(Decimal) && Text.contains(Decimal)) --caret;
    caret = std::clamp(caret, 0, static_cast<int>(Grouped.size()));
    if (caret < Grouped.size() && Grouped[caret] == Thousand) ++caret;
    Text = Grouped;
    SetCaret(caret);
    return true;
}

} // namespace tensim
