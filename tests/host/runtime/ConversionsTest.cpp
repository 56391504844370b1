#include "host/runtime/Conversions.h"
#include "host/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace korvane::host;

namespace {

// Runs the call and returns the host error number it raised, or 0.
template <typename Call>
int RaisedNumber(Call call)
{
    try {
        call();
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

} // namespace

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(CLng(0.5), 0);
    EXPECT_EQ(CLng(1.5), 2);
    EXPECT_EQ(CLng(2.5), 2);
    EXPECT_EQ(CLng(-2.5), -2);
    EXPECT_EQ(CLng(-3.5), -4);
    EXPECT_EQ(CLng(2.5000001), 3);
    EXPECT_EQ(CInt(32.5), 32);
    EXPECT_EQ(CInt(-0.5), 0);
}

TEST(Rounding, ValuesOutsideTheTypeOverflow)
{
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768); // rounds to even, which still fits
    EXPECT_EQ(RaisedNumber([] { CInt(32767.5); }), 6);
    EXPECT_EQ(RaisedNumber([] { CInt(-32769); }), 6);
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(RaisedNumber([] { CLng(2147483647.5); }), 6);
    EXPECT_EQ(RaisedNumber([] { CLng(std::nan("")); }), 6);
    EXPECT_EQ(RaisedNumber([] { CLng(std::numeric_limits<double>::infinity()); }), 6);

    try {
        CInt(1e6);
        FAIL() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Description(), "Overflow");
        EXPECT_EQ(error.Source(), "Korvane");
    }
}

TEST(Rounding, IntIsTheFloor)
{
    EXPECT_EQ(Int(2.9), 2);
    EXPECT_EQ(Int(-2.1), -3);
    EXPECT_EQ(Int(-2.0), -2);
}

TEST(Val, ReadsTheLeadingNumber)
{
    EXPECT_EQ(Val("42"), 42);
    EXPECT_EQ(Val("  1615 198th Avenue"), 1615198); // blanks anywhere are skipped
    EXPECT_EQ(Val("-3.25kg"), -3.25);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("1e3x"), 1000);
    EXPECT_EQ(Val("2D2"), 200);
    EXPECT_EQ(Val("7e"), 7);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("-"), 0);
}

TEST(Val, ReadsHexadecimalAndOctalAsTheHostsLiterals)
{
    EXPECT_EQ(Val("&HFF"), 255);
    EXPECT_EQ(Val("&hffff"), -1);
    EXPECT_EQ(Val("&H8000"), -32768);
    EXPECT_EQ(Val("&H10000"), 65536);
    EXPECT_EQ(Val("&HFFFFFFFF"), -1);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("&O19"), 1);
    EXPECT_EQ(Val("&X1"), 0);
    EXPECT_EQ(RaisedNumber([] { Val("&H100000000"); }), 6);
}

TEST(CheckedArithmetic, OverflowRaisesInsteadOfWrapping)
{
    EXPECT_EQ(Add16(32766, 1), 32767);
    EXPECT_EQ(RaisedNumber([] { Add16(32767, 1); }), 6);
    EXPECT_EQ(RaisedNumber([] { Sub16(-32768, 1); }), 6);
    EXPECT_EQ(RaisedNumber([] { Mul16(256, 128); }), 6);
    EXPECT_EQ(RaisedNumber([] { IntDiv16(-32768, -1); }), 6);
    EXPECT_EQ(RaisedNumber([] { Add32(2147483647, 1); }), 6);
    EXPECT_EQ(RaisedNumber([] { Mul32(65536, 65536); }), 6);
    EXPECT_EQ(RaisedNumber([] { IntDiv32(std::numeric_limits<std::int32_t>::min(), -1); }), 6);
    EXPECT_EQ(Mul32(-65536, 32768), std::numeric_limits<std::int32_t>::min());
}

TEST(CheckedArithmetic, DivisionTruncatesAndModKeepsTheDividendsSign)
{
    EXPECT_EQ(IntDiv32(-7, 2), -3);
    EXPECT_EQ(Mod32(-7, 2), -1);
    EXPECT_EQ(Mod32(7, -2), 1);
    EXPECT_EQ(IntDiv16(7, -2), -3);
    EXPECT_EQ(RaisedNumber([] { IntDiv32(1, 0); }), 11);
    EXPECT_EQ(RaisedNumber([] { Mod16(1, 0); }), 11);
    EXPECT_EQ(Mod32(std::numeric_limits<std::int32_t>::min(), -1), 0);
}
