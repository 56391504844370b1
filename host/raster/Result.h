#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace korvane::raster {

// The failure half of a Result: a sentence saying what went wrong.
struct Failure {
    std::string message;
};

// A value or the reason there is none. Decoding and font loading fail this way
// rather than by throwing, since libpng, libjpeg, FreeType and fontconfig call
// back into this code.
template <typename T>
class Result {
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }
    Result(Failure failure)
        : m_error(std::move(failure.message))
    {
    }

    bool Ok() const { return m_value.has_value(); }
    explicit operator bool() const { return Ok(); }

    T& Value()
    {
        assert(Ok() && "Result holds an error; check Ok() before taking Value()");
        return *m_value;
    }
    const T& Value() const
    {
        assert(Ok() && "Result holds an error; check Ok() before taking Value()");
        return *m_value;
    }
    const std::string& Error() const { return m_error; }

private:
    std::optional<T> m_value;
    std::string m_error;
};

// Success with nothing to return, for operations such as writing a file.
struct Done {
};

}
