#include "host/gdi/HandleTable.h"

#include <cassert>
#include <numeric>

namespace korvane::gdi {

HandleTable& HandleTable::Instance()
{
    static HandleTable table;
    return table;
}

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

const HandleTable::Slot* HandleTable::SlotOf(const void* handle) const
{
    auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value & 0xF)
        return nullptr;
    value >>= 4;
    std::uintptr_t index = value & IndexMask;
    std::uintptr_t generation = value >> IndexBits;
    if (index == 0 || index > m_slots.size())
        return nullptr;
    const Slot& slot = m_slots[index - 1];
    if (!slot.object || slot.generation != generation)
        return nullptr;
    return &slot;
}

GdiObject* HandleTable::Find(const void* handle) const
{
    const Slot* slot = SlotOf(handle);
    return slot ? slot->object.get() : nullptr;
}

bool HandleTable::IsStock(const void* handle) const
{
    const Slot* slot = SlotOf(handle);
    return slot && slot->stock;
}

bool HandleTable::Remove(const void* handle)
{
    const Slot* found = SlotOf(handle);
    if (!found || found->stock)
        return false;
    auto index = static_cast<std::size_t>(found - m_slots.data());
    Slot& slot = m_slots[index];
    --m_live[static_cast<std::size_t>(slot.object->kind)];
    slot.object.reset();
    slot.generation = (slot.generation + 1) & 0xFFFFFu;
    if (slot.generation == 0)
        slot.generation = 1;
    m_free.push_back(static_cast<std::uint32_t>(index));
    return true;
}

std::size_t HandleTable::LiveCount() const
{
    return std::accumulate(m_live.begin(), m_live.end(), std::size_t { 0 });
}

}
