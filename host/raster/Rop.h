#pragma once

#include "host/raster/Geometry.h"

#include <cstdint>

namespace korvane::raster {

// Raster operations. A ternary code is the 8-bit truth table of GDI's ROP3 (the third
// byte of the 32-bit constant): bit (P<<2 | S<<1 | D) holds the result for those inputs.
// A binary code is a SetROP2 value, 1 (black) to 16 (white).
class Rop {
public:
    static constexpr std::uint8_t SourceCopy = 0xCC;
    static constexpr std::uint8_t PatternCopy = 0xF0;
    static constexpr std::uint8_t PatternInvert = 0x5A;
    static constexpr std::uint8_t DestinationInvert = 0x55;
    static constexpr int CopyPen = 13;

    static PixelValue Apply3(std::uint8_t code, PixelValue d, PixelValue s, PixelValue p)
    {
        switch (code) {
        case 0x00: return 0;
        case 0xFF: return 0xFFFFFFu;
        case SourceCopy: return s;
        case PatternCopy: return p;
        case DestinationInvert: return ~d & 0xFFFFFFu;
        case PatternInvert: return p ^ d;
        case 0x66: return s ^ d;
        case 0x88: return s & d;
        case 0xEE: return s | d;
        default: break;
        }
        PixelValue result = 0;
        for (unsigned i = 0; i < 8; ++i) {
            if (!((code >> i) & 1u))
                continue;
            PixelValue term = (i & 4u) ? p : ~p;
            term &= (i & 2u) ? s : ~s;
            term &= (i & 1u) ? d : ~d;
            result |= term;
        }
        return result & 0xFFFFFFu;
    }

    static PixelValue Apply2(int code, PixelValue d, PixelValue pen)
    {
        // R2 codes are 1-based; bit (P<<1 | D) of code-1 is the result.
        unsigned table = static_cast<unsigned>(code - 1) & 0xFu;
        switch (table) {
        case 0xC: return pen;
        case 0x0: return 0;
        case 0xF: return 0xFFFFFFu;
        default: break;
        }
        PixelValue result = 0;
        for (unsigned i = 0; i < 4; ++i) {
            if (!((table >> i) & 1u))
                continue;
            PixelValue term = (i & 2u) ? pen : ~pen;
            term &= (i & 1u) ? d : ~d;
            result |= term;
        }
        return result & 0xFFFFFFu;
    }

    static constexpr bool UsesSource(std::uint8_t code) { return ((code >> 2) ^ code) & 0x33u; }
    static constexpr bool UsesPattern(std::uint8_t code) { return ((code >> 4) ^ code) & 0x0Fu; }
    static constexpr bool UsesDestination(std::uint8_t code) { return ((code >> 1) ^ code) & 0x55u; }
};

}
