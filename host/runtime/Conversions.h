#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

// The host's numeric conversions and checked integer arithmetic. Failures raise
// RuntimeError: Overflow (6) when a result does not fit, Division by zero (11).
namespace korvane::host {

// Round to nearest with halves to even, then narrow; NaN and out-of-range values overflow.
std::int32_t CLng(double value);
namespace detail {
std::int16_t CheckedCInt(double value);
// The values that round into an Integer: -32768.5 rounds to even, 32767.5 does not.
inline constexpr double kLowestRoundingToInt16 = std::numeric_limits<std::int16_t>::min() - 0.5;
inline constexpr double kBeyondRoundingToInt16 = std::numeric_limits<std::int16_t>::max() + 0.5;
}
inline std::int16_t CInt(double value)
{
    // Colour channels and coordinates, converted in drawing loops, take this path:
    // adding and removing 2^52 rounds to an integer, halves to even, as the default
    // rounding mode does. Everything else, NaN included, is checked out of line.
    if (value >= 0 && value < detail::kBeyondRoundingToInt16)
        return static_cast<std::int16_t>((value + 0x1p52) - 0x1p52);
    if (value < 0 && value >= detail::kLowestRoundingToInt16)
        return static_cast<std::int16_t>((value - 0x1p52) + 0x1p52);
    return detail::CheckedCInt(value);
}

// The largest integer not greater than the value (the host's Int), kept as a double.
double Int(double value);

// The leading number of a text: blanks, tabs and line feeds are skipped anywhere,
// "&H" and "&O" prefixes read hexadecimal and octal, and reading stops at the
// first character that cannot continue the number. No number gives 0.
double Val(std::string_view text);

std::int16_t Add16(std::int16_t a, std::int16_t b);
std::int16_t Sub16(std::int16_t a, std::int16_t b);
std::int16_t Mul16(std::int16_t a, std::int16_t b);
std::int16_t IntDiv16(std::int16_t a, std::int16_t b); // a \ b, truncating toward zero
std::int16_t Mod16(std::int16_t a, std::int16_t b);    // remainder with the sign of a

std::int32_t Add32(std::int32_t a, std::int32_t b);
std::int32_t Sub32(std::int32_t a, std::int32_t b);
std::int32_t Mul32(std::int32_t a, std::int32_t b);
std::int32_t IntDiv32(std::int32_t a, std::int32_t b);
std::int32_t Mod32(std::int32_t a, std::int32_t b);

} // namespace korvane::host
