#pragma once

#include "host/raster/image/Codecs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace korvane::raster::image::testing {

// Little-endian byte builder for hand-made files.
class ByteWriter {
public:
    ByteWriter& U8(unsigned value)
    {
        m_bytes.push_back(static_cast<std::uint8_t>(value));
        return *this;
    }
    ByteWriter& U16(unsigned value) { return U8(value & 0xFF).U8((value >> 8) & 0xFF); }
    ByteWriter& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
    ByteWriter& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
    ByteWriter& Append(const std::vector<std::uint8_t>& bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    ByteWriter& PatchU32(std::size_t offset, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        return *this;
    }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Every proper prefix of a valid file must be refused, never read past.
template <typename Decode>
void ExpectEveryPrefixRefused(const std::vector<std::uint8_t>& file, Decode decode)
{
    for (std::size_t length = 0; length < file.size(); ++length) {
        const std::vector<std::uint8_t> prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        const auto result = decode(Bytes(prefix));
        EXPECT_TRUE(!result.Ok() && !result.Error().empty())
            << "accepted, or refused without a reason, a file cut to " << length << " of " << file.size() << " bytes";
    }
}

}
