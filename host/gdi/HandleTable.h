#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace korvane::gdi {

enum class ObjectKind : std::uint8_t { DeviceContext, Bitmap, Pen, Brush, Font, Region, Icon, Count };

struct GdiObject {
    explicit GdiObject(ObjectKind objectKind) : kind(objectKind) {}
    virtual ~GdiObject() = default;
    ObjectKind kind;
    int selectionCount = 0; // DCs this object is selected into; such objects cannot be deleted
};

// Owns every GDI object and hands out handles that name a slot and the slot's generation.
// A stale, foreign or mistyped handle fails to resolve instead of reaching another
// object. Stock objects live here too but are never counted or freed.
//
// A drawing call resolves several handles, and a control makes and deletes a pen for
// almost every line it draws, so lookups and the common add and remove are inline.
// The slots are one fixed array and a live slot keeps its exact handle: a lookup is one
// comparison, with no bounds to load, and a typed lookup reads one slot, not the object.
class HandleTable {
public:
    // The most objects a Windows process may ever be allowed; creating one more fails.
    static constexpr std::size_t Capacity = std::size_t { 1 } << 16;

    // Constant-initialised (all zeros, so the slots cost no memory until used), so every
    // call reaches it without a guard and it outlives the objects that release handles
    // while the program exits.
    static HandleTable& Instance() { return s_instance; }

    HandleTable() = default;
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;
    ~HandleTable();

    // The object's handle, or nullptr when the table is full.
    void* Add(std::unique_ptr<GdiObject> object, bool stock = false)
    {
        std::uint32_t index;
        if (m_freeCount > 0) [[likely]] {
            index = m_free[--m_freeCount];
        } else if (m_used + 1 < Capacity) {
            index = ++m_used; // slot 0 is never used, so no handle resolves through it
        } else {
            return nullptr;
        }
        Slot& slot = m_slots[index];
        if (!stock)
            ++m_live[static_cast<std::size_t>(object->kind)];
        slot.generation = slot.generation == GenerationMask ? 1 : slot.generation + 1;
        slot.kind = object->kind;
        slot.stock = stock;
        slot.object = object.release();
        // Handles never have small values, so (HBRUSH)(COLOR_x + 1) cannot collide with one.
        slot.handle = ((static_cast<std::uintptr_t>(slot.generation) << IndexBits) | index) << 4;
        return reinterpret_cast<void*>(slot.handle);
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
        if (!found || !found->object || found->stock)
            return false;
        GdiObject* object = found->object;
        TakeFound(handle);
        delete object;
        return true;
    }
    // Frees the slot of an object the caller has just found through `handle`, not a
    // stock one, without looking it up again; the caller deletes the object.
    void TakeFound(const void* handle)
    {
        const std::uint32_t index = IndexOf(handle);
        Slot& slot = m_slots[index];
        --m_live[static_cast<std::size_t>(slot.kind)];
        slot.object = nullptr;
        slot.handle = 0;
        m_free[m_freeCount++] = index;
    }

    std::size_t LiveCount(ObjectKind kind) const { return m_live[static_cast<std::size_t>(kind)]; }
    std::size_t LiveCount() const;

private:
    struct Slot {
        std::uintptr_t handle = 0; // while live; 0 when free, which no handle equals
        GdiObject* object = nullptr; // owned
        std::uint32_t generation = 0; // of the last handle made here
        ObjectKind kind {};
        bool stock = false;
    };
    // Handles are (generation << IndexBits | index) << 4. The index takes more bits than
    // the capacity needs: a handle whose index lies beyond it lands on a slot whose
    // handle differs, and so resolves to nothing.
    static constexpr unsigned IndexBits = 20;
    static constexpr std::uint32_t GenerationMask = 0xFFFFF;

    static std::uint32_t IndexOf(const void* handle)
    {
        return static_cast<std::uint32_t>((reinterpret_cast<std::uintptr_t>(handle) >> 4) & (Capacity - 1));
    }
    // A live slot holds its handle exactly, so one comparison rejects stale generations,
    // foreign values and misaligned ones alike. The null handle matches slot 0, which
    // never holds an object: every lookup through it finds none.
    const Slot* SlotOf(const void* handle) const
    {
        const Slot& slot = m_slots[IndexOf(handle)];
        return slot.handle == reinterpret_cast<std::uintptr_t>(handle) ? &slot : nullptr;
    }

    static HandleTable s_instance;

    std::array<Slot, Capacity> m_slots {};
    std::uint32_t m_used = 0; // the highest slot ever used
    // Freed slots, reused last first. Fixed like the slots, so freeing never allocates.
    std::array<std::uint32_t, Capacity> m_free {};
    std::uint32_t m_freeCount = 0;
    std::array<std::size_t, static_cast<std::size_t>(ObjectKind::Count)> m_live {};
};

}
