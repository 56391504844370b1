#include "host/runtime/AnsiText.h"

namespace korvane::host {

namespace {

std::string Sanitize(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            result.push_back('?');
            ++i;
        } else {
            result.append(text.substr(i, length));
            i += length;
        }
    }
    return result;
}

} // namespace

std::string ToAnsi(std::string_view text) { return Sanitize(text); }

std::string FromAnsi(const char* bytes, std::size_t size)
{
    return Sanitize(std::string_view(bytes, size));
}

} // namespace korvane::host
