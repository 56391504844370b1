#include "Image.h"

namespace korvane::raster::image {

Image::Image(int width, int height, Pixel fill)
    : m_width(width > 0 && height > 0 ? width : 0)
    , m_height(width > 0 && height > 0 ? height : 0)
    , m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill)
{
}

Mask::Mask(int width, int height, bool fill)
    : m_width(width > 0 && height > 0 ? width : 0)
    , m_height(width > 0 && height > 0 ? height : 0)
    , m_bits(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill ? 1 : 0)
{
}

}
