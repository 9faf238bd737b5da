#pragma once
// The framework's common base: heap objects with virtual operations, a use count that lets code
// hold an object across a call that may release it, an on-destroy event and owned objects.
//
// Virtual slot order is part of the contract: Setup, Dispose, then whatever a class appends.
// Objects are created with NewObject (zero-filled, then Setup) and ended with Release; Dispose is
// the one place that frees their memory. Their memory is the runtime's heap: an allocation that
// fails ends the program in the "Out of memory" error box, so a new object is never null.
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

#include "platform/runtime/memory.h"
#include "ui/event.h"

namespace mvorbel {

class ObjectList;

class ObjectBase {
public:
    ObjectBase(const ObjectBase&) = delete;
    ObjectBase& operator=(const ObjectBase&) = delete;

    // Slot 0: runs once, right after creation.
    virtual void Setup() {}
    // Slot 1: tears the object down and frees it. Overrides end by calling this one.
    virtual void Dispose();

    // Null-safe. Disposes an object without holds at once; a held object is only marked, and the
    // Unhold that brings its count below zero disposes it.
    static void Release(ObjectBase* object);
    void Hold() { useCount += 2; }
    void Unhold();
    // The owned object is released when this one is finalised, newest addition first.
    void AddOwned(ObjectBase* owned);
    // Runs the on-destroy event, then the owned list; a second run finds nothing left.
    void Finalise();

    // 2 per current hold; a release requested while held subtracts 1, leaving the count odd.
    std::int32_t useCount = 0;
    Event<ObjectBase*> onDestroy;
    ObjectList* ownedList = nullptr;

    // Objects live on the runtime's heap; these are what `delete this` in Dispose comes to.
    static void* operator new(std::size_t, void* place) { return place; }
    static void operator delete(void* object) { Free(object); }

protected:
    ObjectBase() = default;
    virtual ~ObjectBase() = default;
};

// The actions an owned list runs, each with the argument stored behind it.
using OwnedAction = void (*)(ObjectBase*);

// The object with every field zero, before any setup.
template <class T>
T* AllocateObject() {
    static_assert(std::is_base_of_v<ObjectBase, T>);
    void* memory = MemFill(Allocate(sizeof(T)), 0, sizeof(T));
    // Value-initialisation zero-fills every field the class does not give a value itself.
    return new (memory) T();
}

template <class T>
T* NewObject() {
    T* object = AllocateObject<T>();
    if (object != nullptr) object->Setup();
    return object;
}

}  // namespace mvorbel
