#include "ui/object_list.h"

#include <algorithm>

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
    Value* slots = items.get();
    std::copy_backward(slots + index, slots + oldCount, slots + oldCount + 1);
    items[index] = value;
}

void ObjectList::RemoveAt(int index) { RemoveRange(index, 1); }

void ObjectList::RemoveRange(int index, int n) {
    if (n <= 0) return;
    if (index + n > count) n = count - index;
    Value* slots = items.get();
    std::copy(slots + index + n, slots + count, slots + index);
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
    n = std::max(n, count);
    if (n == capacity) return;
    std::unique_ptr<Value[]> resized;
    if (n > 0) {
        resized = std::make_unique<Value[]>(n);
        // Append counts its new slot before reserving it, so only the old capacity holds values.
        std::copy(items.get(), items.get() + std::min(count, capacity), resized.get());
    }
    items = std::move(resized);
    capacity = n;
}

void ObjectList::Empty() {
    items.reset();
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
