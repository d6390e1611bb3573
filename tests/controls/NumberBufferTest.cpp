// The editing rules of the numeric edit's text, as tables: a text with its
// caret and selection, the keys, and the text and caret they leave.

#include "controls/NumberBuffer.h"

#include "tests/QtPrint.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace tensim {
namespace {

// Keys: "\b" Backspace, "\x7f" Delete, any other character typed.
struct Row {
    const char* Text;
    int Caret;
    int Selected; // characters selected after the caret
    const char* Keys;
    const char* After;
    int CaretAfter;
};

TNumberBuffer Field(int Decimals, TNumberFormat Format, const char* ZeroText)
{
    TNumberBuffer b;
    b.Thousand = ',';
    b.Decimals = Decimals;
    b.Format = Format;
    b.ZeroText = ZeroText;
    return b;
}

void Check(const TNumberBuffer& Start, std::initializer_list<Row> Rows)
{
    for (const Row& row : Rows) {
        TNumberBuffer b = Start;
        b.Text = row.Text;
        b.SelStart = row.Caret;
        b.SelLength = row.Selected;
        for (QChar key : QString(row.Keys)) {
            if (key == '\b' || key == QChar(0x7f))
                b.DeleteKey(key == '\b');
            else
                b.TypeChar(key);
        }
        const std::string where = std::string(row.Text) + " caret " + std::to_string(row.Caret) +
                                  " keys '" + row.Keys + "'";
        EXPECT_EQ(b.Text, row.After) << where;
        EXPECT_EQ(b.SelStart, row.CaretAfter) << where;
    }
}

TEST(NumberBuffer, FourDecimals)
{
    Check(Field(4, TNumberFormat::Standard, "0.0000"),
          {
              {"1.2345", 2, 0, "\x7f", "1.3450", 2},
              {"1.2345", 6, 0, "\b", "1.2340", 5},
              {"5.2500", 1, 0, "\b", "0.2500", 1},
              {"12.5000", 3, 0, "\b", "1.5000", 1}, // skips the separator
              {"1.5000", 1, 0, "\x7f", "1.0000", 2},
              {"-5.0000", 1, 0, "\b", "5.0000", 0},
              {"1.2345", 0, 0, "\b", "1.2345", 0},
              {"1.2345", 6, 0, "\x7f", "1.2345", 6},
              {"1.2345", 0, 6, "\b", "0.0000", 0},
              {"12.3400", 1, 3, "\x7f", "1.4000", 1}, // "2.3": two digits go
              {"1.2345", 2, 4, "\b", "1.0000", 2},
              {"1.2345", 1, 1, "\b", "1.2345", 2}, // only the separator
              {"1.5000", 0, 0, "-", "-1.5000", 1},
              {"1.5000", 3, 0, "-", "-1.5000", 4},
              {"1.5000", 6, 0, "--", "1.5000", 6},
              {"1.5000", 1, 0, ".", "1.5000", 2},
              {"1.5000", 1, 0, ".7123", "1.7123", 6},
              {"1.5000", 1, 0, ".71239", "1.7123", 6}, // after the fourth decimal
              {"0.5000", 0, 0, "3", "3.5000", 1},
              {"-0.5000", 1, 0, "3", "-3.5000", 2},
              {"-0.5000", 0, 0, "4", "-4.5000", 2}, // never before the sign
              {"1.0000", 1, 0, "25", "125.0000", 3},
              {"1.2345", 0, 6, "7", "7.0000", 1},
              {"1.5000", 2, 0, "a +,x*", "1.5000", 2},
              {"1.5000", 3, 0, "e2", "1.5000E2", 8},
              {"1.5000E2", 0, 0, "E7", "1.5000E7", 8}, // one "E"; the exponent overwrites
          });
}

TEST(NumberBuffer, Exponents)
{
    Check(Field(4, TNumberFormat::Scientific, "0.0000E0"),
          {
              {"1.5000E12", 9, 0, "\b", "1.5000E1", 8},
              {"1.5000E12", 9, 0, "\b\b", "1.5000E0", 7}, // never ends in "E"
              {"5.0000E-3", 1, 0, "\b", "0.0000E-3", 1},
              {"1.0000E0", 7, 0, "5", "1.0000E5", 8},
              {"1.0000E-5", 7, 0, "3", "1.0000E-3", 9},
              {"1.0000E-0", 8, 0, "4", "1.0000E-4", 9},
              {"1.5000E2", 7, 0, "-", "1.5000E-2", 8}, // after the "E": its sign
              {"1.5000E2", 7, 0, "--", "1.5000E2", 7},
              {"1.5000E2", 6, 0, "-", "-1.5000E2", 7},
          });
}

TEST(NumberBuffer, AsManyDecimalsAsNeeded)
{
    Check(Field(-1, TNumberFormat::Standard, "0"),
          {
              {"5", 1, 0, "\b", "0", 1},
              {"-5", 2, 0, "\b", "-0", 1}, // the last digit leaves a 0
              {"-5", 2, 0, "\b\b", "0", 0},
              {"-12", 1, 2, "\b", "-0", 1},
              {"12", 0, 0, ".", "12.", 3},
          });
    Check(Field(-1, TNumberFormat::Scientific, "0E0"),
          {
              {"-5E3", 2, 0, "\b", "-0E3", 1},
              {"5E-3", 1, 0, "\b", "0E-3", 1},
              {"5E3", 0, 0, ".", "5.E3", 2}, // the separator goes before the "E"
          });
}

TEST(NumberBuffer, CommaLocale)
{
    TNumberBuffer b = Field(4, TNumberFormat::Standard, "0,0000");
    b.Decimal = ',';
    b.Thousand = '.';
    Check(b, {
                 {"1,5000", 0, 0, ".", "1,5000", 0}, // "." is no separator here
                 {"1,5000", 0, 0, ",25", "1,2500", 4},
             });
}

TEST(NumberBuffer, RegroupFollowsTheDigits)
{
    struct RegroupRow {
        const char* Text;
        int Caret;
        const char* Grouped;
        bool Forced;
        const char* After;
        int CaretAfter;
    };
    const RegroupRow rows[] = {
        {"1555,234.0000", 4, "1,555,234.0000", false, "1,555,234.0000", 6},
        {"15,234.0000", 2, "15,234.0000", false, "15,234.0000", 2}, // nothing gained or moved
        {"15,234.0000", 2, "15,234.0000", true, "15,234.0000", 3},  // past the separator
        {"1,234", 5, "1,234.0000", true, "1,234.0000", 6},          // a decimal separator appeared
    };
    for (const RegroupRow& row : rows) {
        TNumberBuffer b = Field(4, TNumberFormat::Thousands, "0.0000");
        b.Text = row.Text;
        b.SetCaret(row.Caret);
        EXPECT_EQ(b.Regroup(row.Grouped, row.Forced), row.Forced || row.Text != row.After)
            << row.Text;
        EXPECT_EQ(b.Text, row.After) << row.Text;
        EXPECT_EQ(b.SelStart, row.CaretAfter) << row.Text;
    }
}

} // namespace
} // namespace tensim
