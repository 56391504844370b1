#include "host/gdi/HandleTable.h"

#include <numeric>

namespace korvane::gdi {

constinit HandleTable HandleTable::s_instance;

HandleTable::~HandleTable()
{
    for (std::uint32_t index = 1; index <= m_used; ++index)
        delete m_slots[index].object;
}

std::size_t HandleTable::LiveCount() const
{
    return std::accumulate(m_live.begin(), m_live.end(), std::size_t { 0 });
}

}
