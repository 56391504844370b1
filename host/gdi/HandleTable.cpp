#include "host/gdi/HandleTable.h"

#include <cassert>
#include <numeric>

namespace korvane::gdi {

constinit HandleTable HandleTable::s_instance;

void* HandleTable::Add(std::unique_ptr<GdiObject> object, bool stock)
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
    Slot& slot = m_slots[index];
    if (!stock)
        ++m_live[static_cast<std::size_t>(object->kind)];
    slot.object = std::move(object);
    slot.stock = stock;
    // Handles never have small values, so (HBRUSH)(COLOR_x + 1) cannot collide with one.
    std::uintptr_t value = (static_cast<std::uintptr_t>(slot.generation) << IndexBits) | (index + 1);
    return reinterpret_cast<void*>(value << 4);
}

bool HandleTable::Remove(const void* handle)
{
    const Slot* found = SlotOf(handle);
    if (!found || found->stock)
        return false;
    auto index = static_cast<std::size_t>(found - m_slots.data());
    RemoveSlot(m_slots[index], static_cast<std::uint32_t>(index));
    return true;
}

void HandleTable::RemoveSlot(Slot& slot, std::uint32_t index)
{
    --m_live[static_cast<std::size_t>(slot.object->kind)];
    slot.object.reset();
    slot.generation = (slot.generation + 1) & 0xFFFFFu;
    if (slot.generation == 0)
        slot.generation = 1;
    m_free.push_back(index);
}

std::size_t HandleTable::LiveCount() const
{
    return std::accumulate(m_live.begin(), m_live.end(), std::size_t { 0 });
}

}
