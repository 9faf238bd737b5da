#include "ui/object_base.h"

#include "ui/object_list.h"

namespace mvorbel {

void ObjectBase::Dispose() {
    Finalise();
    delete this;
}

void ObjectBase::Release(ObjectBase* object) {
    if (object == nullptr) return;
    const std::int32_t count = object->useCount;
    if (count == 0) {
        object->Dispose();
    } else if (count % 2 == 0) {
        object->useCount = count - 1;
    }
}

void ObjectBase::Unhold() {
    useCount -= 2;
    if (useCount < 0 && useCount % 2 != 0) Dispose();
}

void ObjectBase::AddOwned(ObjectBase* owned) {
    if (ownedList == nullptr) ownedList = NewObjectList();
    ownedList->InsertAt(0, ToValue(owned));
    ownedList->InsertAt(0, ToValue(&ObjectBase::Release));
}

void ObjectBase::Finalise() {
    // Both fields are cleared before anything runs, so a re-entrant Finalise finds nothing.
    const Event<ObjectBase*> destroyed = onDestroy;
    onDestroy = {};
    if (destroyed.HasHandler()) destroyed(this);

    ObjectList* owned = ownedList;
    ownedList = nullptr;
    if (owned == nullptr) return;
    for (int i = 0; i + 1 < owned->count; i += 2) {
        const auto action = FromValue<OwnedAction>(owned->At(i));
        action(FromValue<ObjectBase*>(owned->At(i + 1)));
    }
    Release(owned);
}

}  // namespace mvorbel
