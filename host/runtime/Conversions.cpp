#include "host/runtime/Conversions.h"

#include "host/runtime/RuntimeError.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace korvane::host {

namespace {

template <typename T>
T RoundToInteger(double value)
{
    // nearbyint rounds halves to even in the default rounding mode.
    double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min())
            && rounded <= static_cast<double>(std::numeric_limits<T>::max())))
        Raise(ErrorNumber::Overflow);
    return static_cast<T>(rounded);
}

template <typename T>
T Narrow(std::int64_t value)
{
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        Raise(ErrorNumber::Overflow);
    return static_cast<T>(value);
}

template <typename T>
T CheckedDivide(T a, T b)
{
    if (b == 0)
        Raise(ErrorNumber::DivisionByZero);
    return Narrow<T>(static_cast<std::int64_t>(a) / b);
}

template <typename T>
T CheckedModulo(T a, T b)
{
    if (b == 0)
        Raise(ErrorNumber::DivisionByZero);
    return static_cast<T>(static_cast<std::int64_t>(a) % b);
}

double RadixValue(std::string_view digits, int radix)
{
    std::uint64_t value = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        if (digit >= radix)
            break;
        value = value * static_cast<unsigned>(radix) + static_cast<unsigned>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max())
            Raise(ErrorNumber::Overflow);
    }
    // Hexadecimal and octal literals are 16-bit when they fit, else 32-bit, and
    // take the sign of their top bit, as the host's literals do.
    if (value <= std::numeric_limits<std::uint16_t>::max())
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

} // namespace

std::int32_t CLng(double value) { return RoundToInteger<std::int32_t>(value); }
std::int16_t detail::CheckedCInt(double value) { return RoundToInteger<std::int16_t>(value); }

double Int(double value) { return std::floor(value); }

double Val(std::string_view text)
{
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            compact.push_back(c);

    if (compact.size() >= 2 && compact[0] == '&') {
        char kind = compact[1];
        if (kind == 'h' || kind == 'H')
            return RadixValue(std::string_view(compact).substr(2), 16);
        if (kind == 'o' || kind == 'O')
            return RadixValue(std::string_view(compact).substr(2), 8);
        return 0;
    }

    // Take the longest prefix of the form [sign] digits [. digits] [E|D [sign] digits].
    std::size_t i = 0;
    auto digitsFrom = [&](std::size_t at) {
        std::size_t j = at;
        while (j < compact.size() && compact[j] >= '0' && compact[j] <= '9')
            ++j;
        return j;
    };
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-'))
        ++i;
    std::size_t intEnd = digitsFrom(i);
    std::size_t end = intEnd;
    bool anyDigit = intEnd > i;
    if (end < compact.size() && compact[end] == '.') {
        std::size_t fracEnd = digitsFrom(end + 1);
        anyDigit = anyDigit || fracEnd > end + 1;
        end = fracEnd;
    }
    if (!anyDigit)
        return 0;
    std::string number = compact.substr(0, end);
    if (end < compact.size() && (compact[end] == 'e' || compact[end] == 'E' || compact[end] == 'd' || compact[end] == 'D')) {
        std::size_t expStart = end + 1;
        if (expStart < compact.size() && (compact[expStart] == '+' || compact[expStart] == '-'))
            ++expStart;
        std::size_t expEnd = digitsFrom(expStart);
        if (expEnd > expStart)
            number += 'e' + compact.substr(end + 1, expEnd - end - 1);
    }
    double value = std::strtod(number.c_str(), nullptr);
    if (std::isinf(value))
        Raise(ErrorNumber::Overflow);
    return value;
}

std::int16_t Add16(std::int16_t a, std::int16_t b) { return Narrow<std::int16_t>(std::int64_t{a} + b); }
std::int16_t Sub16(std::int16_t a, std::int16_t b) { return Narrow<std::int16_t>(std::int64_t{a} - b); }
std::int16_t Mul16(std::int16_t a, std::int16_t b) { return Narrow<std::int16_t>(std::int64_t{a} * b); }
std::int16_t IntDiv16(std::int16_t a, std::int16_t b) { return CheckedDivide(a, b); }
std::int16_t Mod16(std::int16_t a, std::int16_t b) { return CheckedModulo(a, b); }

std::int32_t Add32(std::int32_t a, std::int32_t b) { return Narrow<std::int32_t>(std::int64_t{a} + b); }
std::int32_t Sub32(std::int32_t a, std::int32_t b) { return Narrow<std::int32_t>(std::int64_t{a} - b); }
std::int32_t Mul32(std::int32_t a, std::int32_t b) { return Narrow<std::int32_t>(std::int64_t{a} * b); }
std::int32_t IntDiv32(std::int32_t a, std::int32_t b) { return CheckedDivide(a, b); }
std::int32_t Mod32(std::int32_t a, std::int32_t b) { return CheckedModulo(a, b); }

} // namespace korvane::host
