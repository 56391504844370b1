#include "host/runtime/Conversions.h"
#include "host/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

using namespace korvane::host;

namespace {

// Runs the call and returns the host error number it raised, or 0.
int RaisedNumber(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr std::int32_t kMinLong = std::numeric_limits<std::int32_t>::min();

} // namespace

TEST(Rounding, HalvesGoToTheEvenNeighbourAndWhatDoesNotFitOverflows)
{
    // CInt rounds inline near its limits and checks out of line beyond them; both must agree.
    const std::pair<double, int> rounded[] = {
        { 0.5, 0 },   { 1.5, 2 },           { 2.5, 2 },          { -2.5, -2 }, { -3.5, -4 },
        { 2.5000001, 3 }, { 32767.4, 32767 }, { -32768.5, -32768 }, // rounds to even, which still fits
    };
    for (auto [value, expected] : rounded) {
        EXPECT_EQ(CLng(value), expected) << value;
        EXPECT_EQ(CInt(value), expected) << value;
    }
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    for (double value : { 32767.5, -32769.0, 1e6, kNaN })
        EXPECT_EQ(RaisedNumber([=] { CInt(value); }), 6) << value;
    for (double value : { 2147483647.5, kNaN, kInfinity })
        EXPECT_EQ(RaisedNumber([=] { CLng(value); }), 6) << value;
    try {
        CInt(1e6);
    } catch (const RuntimeError& error) {
        EXPECT_EQ(std::pair(error.Description(), error.Source()), std::pair(std::string("Overflow"), std::string("Korvane")));
    }
    EXPECT_EQ(std::tuple(Int(2.9), Int(-2.1), Int(-2.0)), std::tuple(2, -3, -2));
}

TEST(Val, ReadsTheLeadingNumberAsTheHostsLiteralsDo)
{
    const std::pair<const char*, double> cases[] = {
        { "42", 42 },           { "  1615 198th Avenue", 1615198 }, // blanks anywhere are skipped
        { "-3.25kg", -3.25 },   { ".5", 0.5 },       { "1e3x", 1000 },     { "2D2", 200 },
        { "7e", 7 },            { "1.2.3", 1.2 },    { "abc", 0 },         { "", 0 },
        { "-", 0 },             { "&HFF", 255 },     { "&hffff", -1 },     { "&H8000", -32768 },
        { "&H10000", 65536 },   { "&HFFFFFFFF", -1 }, { "&O17", 15 },      { "&O19", 1 },
        { "&X1", 0 },
    };
    for (auto [text, expected] : cases)
        EXPECT_EQ(Val(text), expected) << text;
    EXPECT_EQ(RaisedNumber([] { Val("&H100000000"); }), 6);
}

TEST(CheckedArithmetic, OverflowAndDivisionByZeroRaiseInsteadOfWrapping)
{
    const std::pair<std::function<void()>, int> raising[] = {
        { [] { Add16(32767, 1); }, 6 },   { [] { Sub16(-32768, 1); }, 6 },   { [] { Mul16(256, 128); }, 6 },
        { [] { IntDiv16(-32768, -1); }, 6 }, { [] { Add32(2147483647, 1); }, 6 }, { [] { Mul32(65536, 65536); }, 6 },
        { [] { IntDiv32(kMinLong, -1); }, 6 }, { [] { IntDiv32(1, 0); }, 11 },   { [] { Mod16(1, 0); }, 11 },
    };
    for (const auto& [call, number] : raising)
        EXPECT_EQ(RaisedNumber(call), number);
    EXPECT_EQ(Add16(32766, 1), 32767);
    EXPECT_EQ(Mul32(-65536, 32768), kMinLong);
    // Division truncates toward zero; the remainder keeps the dividend's sign.
    EXPECT_EQ(std::pair(IntDiv32(-7, 2), IntDiv16(7, -2)), std::pair(-3, std::int16_t { -3 }));
    EXPECT_EQ(std::tuple(Mod32(-7, 2), Mod32(7, -2), Mod32(kMinLong, -1)), std::tuple(-1, 1, 0));
}
