#include "math/FloatFormat.h"

#include "tests/Separators.h"

#include <gtest/gtest.h>

namespace tensim {
namespace {

TEST(FormatFloat, FixedPatterns)
{
    Separators s(".", ",");
    EXPECT_EQ(FormatFloat("0.0000", 1), "1.0000");
    EXPECT_EQ(FormatFloat("0.0000", -0.5), "-0.5000");
    EXPECT_EQ(FormatFloat("0.0000", 1.23456), "1.2346");
    EXPECT_EQ(FormatFloat("0.0000", 0.00005), "0.0001");  // half away from zero
    EXPECT_EQ(FormatFloat("0.0000", -0.00004), "0.0000"); // no minus sign on zero
    EXPECT_EQ(FormatFloat("0.0000", 9.99996), "10.0000");
    EXPECT_EQ(FormatFloat("0", 2.5), "3");
    EXPECT_EQ(FormatFloat("0", 0.4), "0");
    EXPECT_EQ(FormatFloat("0.00", 0.0006), "0.00");
    EXPECT_EQ(FormatFloat("0.00", 0.006), "0.01");
    EXPECT_EQ(FormatFloat("0.##############", 0.1), "0.1");
    EXPECT_EQ(FormatFloat("0.##############", 2), "2");
    EXPECT_EQ(FormatFloat("#,##0.###", 1234567.25), "1,234,567.25");
    EXPECT_EQ(FormatFloat("#,##0.###", -0.0004), "0");
    EXPECT_EQ(FormatFloat("#,##0.###", 999.9996), "1,000");
    EXPECT_EQ(FormatFloat(",0.0000", 12345.5), "12,345.5000");
}

TEST(FormatFloat, ScientificPatterns)
{
    Separators s(".", ",");
    EXPECT_EQ(FormatFloat("0.##E-", 12345), "1.23E4");
    EXPECT_EQ(FormatFloat("0.##E-", 0.000125), "1.25E-4");
    EXPECT_EQ(FormatFloat("0.0000E-", 1), "1.0000E0");
    EXPECT_EQ(FormatFloat("0.0000E-", -0.5), "-5.0000E-1");
    EXPECT_EQ(FormatFloat("0.00E+00", 9.999e9), "1.00E+10");
    EXPECT_EQ(FormatFloat("0.##E-", 0), "0E0");
}

TEST(FormatFloat, CommaLocale)
{
    Separators s(",", ".");
    EXPECT_EQ(FormatFloat("0.0000", 1.5), "1,5000");
    EXPECT_EQ(FormatFloat("#,##0.###", 1234.5), "1.234,5");
    EXPECT_EQ(FloatToStrFixed(2.5, 15, 2), "2,50");
}

TEST(FormatFloat, FixedAndGeneral)
{
    Separators s(".", ",");
    EXPECT_EQ(FloatToStrFixed(2.5, 15, 2), "2.50");
    EXPECT_EQ(FloatToStrFixed(2.618033988749895, 15, 2), "2.62");
    EXPECT_EQ(FloatToStrFixed(31.717474411461, 15, 1), "31.7");
    EXPECT_EQ(FloatToStrFixed(-0.001, 15, 2), "0.00");
    EXPECT_EQ(FloatToStrFixed(0, 15, 0), "0");
    EXPECT_EQ(FloatToStrFixed(1e20, 15, 2), "1E20");
    // Digits are held to 0..18, whatever a caller asks.
    EXPECT_EQ(FloatToStrFixed(0.5, 15, 1000000), "0.500000000000000000");
    EXPECT_EQ(FloatToStrFixed(2.5, 15, -3), "3");

    EXPECT_EQ(FloatToStrGeneral(1.5, 3), "1.5");
    EXPECT_EQ(FloatToStrGeneral(1234, 3), "1.23E3");
    EXPECT_EQ(FloatToStrGeneral(0.5, 3), "0.5");
    EXPECT_EQ(FloatToStrGeneral(-0.25, 3), "-0.25");
    EXPECT_EQ(FloatToStrGeneral(0.00001, 3), "0.00001");
    EXPECT_EQ(FloatToStrGeneral(0.000001, 3, 3), "1E-006");
    EXPECT_EQ(FloatToStrGeneral(999.7, 3), "1E3");
    EXPECT_EQ(FloatToStrGeneral(0, 3), "0");
}

} // namespace
} // namespace tensim
