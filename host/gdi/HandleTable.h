#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvane::gdi {

enum class ObjectKind { DeviceContext, Bitmap, Pen, Brush, Font, Region, Icon, Count };

struct GdiObject {
    explicit GdiObject(ObjectKind objectKind) : kind(objectKind) {}
    virtual ~GdiObject() = default;
    ObjectKind kind;
    int selectionCount = 0; // DCs this object is selected into; such objects cannot be deleted
};

// Owns every GDI object and hands out handles that name a slot, the slot's generation
// and the object's kind. A stale, foreign or mistyped handle fails to resolve instead of
// reaching another object. Stock objects live here too but are never counted or freed.
class HandleTable {
public:
    // Constant-initialised, so every call reaches it without a guard and it outlives
    // the objects that release handles while the program exits.
    static HandleTable& Instance() { return s_instance; }

    void* Add(std::unique_ptr<GdiObject> object, bool stock = false);
    GdiObject* Find(const void* handle) const
    {
        const Slot* slot = SlotOf(handle);
        return slot ? slot->object.get() : nullptr;
    }
    template<typename T>
    T* Find(const void* handle, ObjectKind kind) const
    {
        GdiObject* object = Find(handle);
        return object && object->kind == kind ? static_cast<T*>(object) : nullptr;
    }
    GdiObject* Find(const void* handle, bool& stock) const
    {
        const Slot* slot = SlotOf(handle);
        stock = slot && slot->stock;
        return slot ? slot->object.get() : nullptr;
    }
    bool IsStock(const void* handle) const
    {
        const Slot* slot = SlotOf(handle);
        return slot && slot->stock;
    }
    // Frees the object; false for unknown handles and stock objects.
    bool Remove(const void* handle);
    // Frees an object the caller has just found through `handle`, not a stock one,
    // without looking it up again.
    void RemoveFound(const void* handle)
    {
        const auto index = ((reinterpret_cast<std::uintptr_t>(handle) >> 4) & IndexMask) - 1;
        RemoveSlot(m_slots[index], static_cast<std::uint32_t>(index));
    }

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

    // Handles are (generation << IndexBits | index + 1) << 4.
    const Slot* SlotOf(const void* handle) const
    {
        auto value = reinterpret_cast<std::uintptr_t>(handle);
        if (value & 0xF)
            return nullptr;
        value >>= 4;
        const std::uintptr_t index = value & IndexMask;
        if (index == 0 || index > m_slots.size())
            return nullptr;
        const Slot& slot = m_slots[index - 1];
        if (!slot.object || slot.generation != (value >> IndexBits))
            return nullptr;
        return &slot;
    }

    void RemoveSlot(Slot& slot, std::uint32_t index);

    static HandleTable s_instance;

    std::vector<Slot> m_slots;
    std::vector<std::uint32_t> m_free;
    std::array<std::size_t, static_cast<std::size_t>(ObjectKind::Count)> m_live {};
};

}
