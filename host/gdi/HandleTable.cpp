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

void* HandleTable::AddToNewSlot(std::unique_ptr<GdiObject> object, bool stock)
{
    std::uint32_t index;
    if (!m_free.empty()) {
        index = m_free.back();
        m_free.pop_back();
    } else {
        index = static_cast<std::uint32_t>(m_slots.size());
        assert(index < IndexMask && "GDI handle table is full: objects are being leaked, delete them with DeleteObject");
        m_slots.emplace_back();
    }
    return Fill(index, object.release(), stock);
}

std::size_t HandleTable::LiveCount() const
{
    return std::accumulate(m_live.begin(), m_live.end(), std::size_t { 0 });
}

}
