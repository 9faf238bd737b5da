#pragma once
// The framework's one container: a growable array of pointer-sized words (object pointers,
// procedure addresses or plain numbers). The list never owns its values by itself.
#include <cstdint>
#include <type_traits>

#include "ui/object_base.h"

namespace mvorbel {

class ObjectList : public ObjectBase {
public:
    using Value = std::uintptr_t;

    void Dispose() override;

    // Returns the index of the new slot; a full list grows by growStep slots.
    int Append(Value value);
    // index 0 .. count; count appends.
    void InsertAt(int index, Value value);
    void RemoveAt(int index);
    // A range reaching past the end stops at the end; n <= 0 removes nothing. Never shrinks.
    void RemoveRange(int index, int n);
    void RemoveValue(Value value);
    // First index holding the value, or -1.
    int Find(Value value) const;
    // The only bounds-checked access: 0 outside 0 .. count - 1.
    Value At(int index) const;
    void Reserve(int n);
    void Empty();

    // Null-safe. Releases the values as objects from the last slot to the first, reading each
    // slot afresh (a released object may remove itself from this list), then the list.
    static void ReleaseItemsAndSelf(ObjectList* list);

    // On the runtime's heap; null while the capacity is 0.
    Value* items = nullptr;
    std::int32_t count = 0;
    std::int32_t capacity = 0;
    std::int32_t growStep = 0;
};

ObjectList* NewObjectList();

// Words to and from the pointers a list holds. Objects are stored as ObjectBase pointers so that
// ReleaseItemsAndSelf and Find see the same value whatever type the caller had in hand.
template <class T>
ObjectList::Value ToValue(T pointer) {
    if constexpr (std::is_convertible_v<T, const ObjectBase*> && !std::is_same_v<T, std::nullptr_t>) {
        return reinterpret_cast<ObjectList::Value>(static_cast<const ObjectBase*>(pointer));
    } else {
        return reinterpret_cast<ObjectList::Value>(pointer);
    }
}

template <class T>
T FromValue(ObjectList::Value value) {
    if constexpr (std::is_pointer_v<T> && std::is_base_of_v<ObjectBase, std::remove_pointer_t<T>>) {
        return static_cast<T>(reinterpret_cast<ObjectBase*>(value));
    } else {
        return reinterpret_cast<T>(value);
    }
}

}  // namespace mvorbel
