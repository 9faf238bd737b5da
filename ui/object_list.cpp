#include "ui/object_list.h"

#include "platform/runtime/memory.h"

namespace mvorbel {

ObjectList* NewObjectList() {
    ObjectList* list = NewObject<ObjectList>();
    list->growStep = 4;
    return list;
}

void ObjectList::Dispose() {
    Empty();
    ObjectBase::Dispose();
}

int ObjectList::Append(Value value) {
    const int index = count;
    ++count;
    if (index >= capacity) Reserve(index + growStep);
    items[index] = value;
    return index;
}

void ObjectList::InsertAt(int index, Value value) {
    const int oldCount = count;
    Append(0);
    MemMove(items + index + 1, items + index, (oldCount - index) * sizeof(Value));
    items[index] = value;
}

void ObjectList::RemoveAt(int index) { RemoveRange(index, 1); }

void ObjectList::RemoveRange(int index, int n) {
    if (n <= 0) return;
    if (index + n > count) n = count - index;
    MemMove(items + index, items + index + n, (count - index - n) * sizeof(Value));
    count -= n;
}

void ObjectList::RemoveValue(Value value) {
    const int index = Find(value);
    if (index >= 0) RemoveAt(index);
}

int ObjectList::Find(Value value) const {
    for (int i = 0; i < count; ++i) {
        if (items[i] == value) return i;
    }
    return -1;
}

ObjectList::Value ObjectList::At(int index) const {
    if (index < 0 || index >= count) return 0;
    return items[index];
}

void ObjectList::Reserve(int n) {
    if (n < count) n = count;
    if (n == capacity) return;
    if (n == 0) {
        Empty();
        return;
    }
    // Append counts its new slot before reserving it, so only the old capacity holds values;
    // the new slots start zero.
    items = static_cast<Value*>(Reallocate(items, n * sizeof(Value)));
    if (n > capacity) MemFill(items + capacity, 0, (n - capacity) * sizeof(Value));
    capacity = n;
}

void ObjectList::Empty() {
    Free(items);
    items = nullptr;
    count = 0;
    capacity = 0;
}

void ObjectList::ReleaseItemsAndSelf(ObjectList* list) {
    if (list == nullptr) return;
    for (int i = list->count - 1; i >= 0; --i) {
        Release(FromValue<ObjectBase*>(list->At(i)));
    }
    Release(list);
}

}  // namespace mvorbel
