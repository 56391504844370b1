#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvane::gdi {

enum class ObjectKind : std::uint8_t { DeviceContext, Bitmap, Pen, Brush, Font, Region, Icon, Count };

struct GdiObject {
    explicit GdiObject(ObjectKind objectKind) : kind(objectKind) {}
    virtual ~GdiObject() = default;
    ObjectKind kind;
    int selectionCount = 0; // DCs this object is selected into; such objects cannot be deleted
};

// Owns every GDI object and hands out handles that name a slot, the slot's generation
// and the object's kind. A stale, foreign or mistyped handle fails to resolve instead of
// reaching another object. Stock objects live here too but are never counted or freed.
//
// A drawing call resolves several handles, and a control makes and deletes a pen for
// almost every line it draws, so lookups and the common add and remove are inline and
// a slot carries its object's kind: a typed lookup reads one slot, not the object.
class HandleTable {
public:
    // Constant-initialised, so every call reaches it without a guard and it outlives
    // the objects that release handles while the program exits.
    static HandleTable& Instance() { return s_instance; }

    HandleTable() = default;
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;
    ~HandleTable();

    void* Add(std::unique_ptr<GdiObject> object, bool stock = false)
    {
        if (m_free.empty()) [[unlikely]]
            AddSlot();
        const std::uint32_t index = m_free.back();
        m_free.pop_back();
        Slot& slot = m_slots[index];
        if (!stock)
            ++m_live[static_cast<std::size_t>(object->kind)];
        slot.kind = object->kind;
        slot.stock = stock;
        slot.object = object.release();
        // Handles never have small values, so (HBRUSH)(COLOR_x + 1) cannot collide with one.
        const std::uintptr_t value = (static_cast<std::uintptr_t>(slot.generation) << IndexBits) | (index + 1);
        return reinterpret_cast<void*>(value << 4);
    }
    GdiObject* Find(const void* handle) const
    {
        const Slot* slot = SlotOf(handle);
        return slot ? slot->object : nullptr;
    }
    template<typename T>
    T* Find(const void* handle, ObjectKind kind) const
    {
        const Slot* slot = SlotOf(handle);
        return slot && slot->kind == kind ? static_cast<T*>(slot->object) : nullptr;
    }
    GdiObject* Find(const void* handle, ObjectKind& kind) const
    {
        const Slot* slot = SlotOf(handle);
        if (!slot)
            return nullptr;
        kind = slot->kind;
        return slot->object;
    }
    GdiObject* Find(const void* handle, bool& stock) const
    {
        const Slot* slot = SlotOf(handle);
        stock = slot && slot->stock;
        return slot ? slot->object : nullptr;
    }
    bool IsStock(const void* handle) const
    {
        const Slot* slot = SlotOf(handle);
        return slot && slot->stock;
    }
    // Frees the object; false for unknown handles and stock objects.
    bool Remove(const void* handle)
    {
        const Slot* found = SlotOf(handle);
        if (!found || found->stock)
            return false;
        RemoveSlot(static_cast<std::uint32_t>(found - m_slots.data()));
        return true;
    }
    // Frees an object the caller has just found through `handle`, not a stock one,
    // without looking it up again.
    void RemoveFound(const void* handle)
    {
        RemoveSlot(static_cast<std::uint32_t>(((reinterpret_cast<std::uintptr_t>(handle) >> 4) & IndexMask) - 1));
    }

    std::size_t LiveCount(ObjectKind kind) const { return m_live[static_cast<std::size_t>(kind)]; }
    std::size_t LiveCount() const;

private:
    struct Slot {
        GdiObject* object = nullptr; // owned
        std::uint32_t generation = 1;
        ObjectKind kind = ObjectKind::Count;
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

    // A new free slot, for when every slot is taken.
    void AddSlot();

    void RemoveSlot(std::uint32_t index)
    {
        Slot& slot = m_slots[index];
        GdiObject* object = slot.object;
        --m_live[static_cast<std::size_t>(slot.kind)];
        slot.object = nullptr;
        slot.generation = (slot.generation + 1) & 0xFFFFFu;
        if (slot.generation == 0)
            slot.generation = 1;
        m_free.push_back(index);
        delete object;
    }

    static HandleTable s_instance;

    std::vector<Slot> m_slots;
    std::vector<std::uint32_t> m_free;
    std::array<std::size_t, static_cast<std::size_t>(ObjectKind::Count)> m_live {};
};

}
