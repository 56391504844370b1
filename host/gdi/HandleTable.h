#pragma once

#include "host/gdi/GdiInternal.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvane::gdi {

// Owns every GDI object and hands out handles that name a slot, the slot's generation
// and the object's kind. A stale, foreign or mistyped handle fails to resolve instead of
// reaching another object. Stock objects live here too but are never counted or freed.
class HandleTable {
public:
    static HandleTable& Instance();

    void* Add(std::unique_ptr<GdiObject> object, bool stock = false);
    GdiObject* Find(const void* handle) const;
    template<typename T>
    T* Find(const void* handle, ObjectKind kind) const
    {
        GdiObject* object = Find(handle);
        return object && object->kind == kind ? static_cast<T*>(object) : nullptr;
    }
    bool IsStock(const void* handle) const;
    // Frees the object; false for unknown handles and stock objects.
    bool Remove(const void* handle);

    std::size_t LiveCount(ObjectKind kind) const { return m_live[static_cast<std::size_t>(kind)]; }
    std::size_t LiveCount() const;

private:
    struct Slot {
        std::unique_ptr<GdiObject> object;
        std::uint32_t generation = 1;
        bool stock = false;
    };
    static constexpr unsigned IndexBits = 20;
    static constexpr std::uintptr_t IndexMask = (std::uintptr_t { 1 } << IndexBits) - 1;

    const Slot* SlotOf(const void* handle) const;

    std::vector<Slot> m_slots;
    std::vector<std::uint32_t> m_free;
    std::array<std::size_t, static_cast<std::size_t>(ObjectKind::Count)> m_live {};
};

}
