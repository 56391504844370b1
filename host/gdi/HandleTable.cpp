#include "host/gdi/HandleTable.h"

#include <cassert>
#include <numeric>

namespace korvane::gdi {

constinit HandleTable HandleTable::s_instance;

HandleTable::~HandleTable()
{
    for (Slot& slot : m_slots)
        delete slot.object;
}

void HandleTable::AddSlot()
{
    const auto index = static_cast<std::uint32_t>(m_slots.size());
    assert(index < IndexMask && "GDI handle table is full: objects are being leaked, delete them with DeleteObject");
    m_slots.emplace_back();
    m_free.push_back(index);
}

std::size_t HandleTable::LiveCount() const
{
    return std::accumulate(m_live.begin(), m_live.end(), std::size_t { 0 });
}

}
