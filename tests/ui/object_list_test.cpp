#include "ui/object_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace mvorbel {
namespace {

using Values = std::vector<ObjectList::Value>;

Values Contents(const ObjectList* list) { return {list->items.get(), list->items.get() + list->count}; }

TEST(ObjectListTest, GrowsByFourFromZeroAndNeverShrinks) {
    ObjectList* list = NewObjectList();
    EXPECT_EQ(list->capacity, 0);
    const std::vector<int> capacityAfter = {4, 4, 4, 4, 8, 8, 8, 8, 12};
    for (int i = 0; i < static_cast<int>(capacityAfter.size()); ++i) {
        EXPECT_EQ(list->Append(100 + i), i);
        EXPECT_EQ(list->capacity, capacityAfter[i]) << "after append " << i + 1;
    }
    list->RemoveRange(0, 8);
    EXPECT_EQ(Contents(list), Values{108});
    EXPECT_EQ(list->capacity, 12);
    ObjectBase::Release(list);
}

TEST(ObjectListTest, EditsStayWithinTheList) {
    ObjectList* list = NewObjectList();
    for (int value = 1; value <= 5; ++value) list->Append(value);
    list->InsertAt(5, 6);
    list->InsertAt(0, 4);
    EXPECT_EQ(Contents(list), (Values{4, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(list->Find(4), 0);
    EXPECT_EQ(list->Find(9), -1);
    EXPECT_EQ(list->At(-1), 0u);
    EXPECT_EQ(list->At(7), 0u);
    list->RemoveValue(4);      // the first only
    list->RemoveRange(0, 0);   // nothing
    list->RemoveRange(0, -3);  // nothing
    list->RemoveRange(1, 2);
    list->RemoveRange(3, 10);  // clipped at the end
    EXPECT_EQ(Contents(list), (Values{1, 4, 5}));
    ObjectBase::Release(list);
}

std::vector<int> releasedOrder;

// Removes itself from its list while being disposed, as menu entries do.
class SelfRemoving : public ObjectBase {
public:
    void Dispose() override {
        releasedOrder.push_back(number);
        if (home != nullptr) home->RemoveValue(ToValue(this));
        ObjectBase::Dispose();
    }
    int number = 0;
    ObjectList* home = nullptr;
};

TEST(ObjectListTest, ReleasesFromTheLastSlotEvenWhenItemsRemoveThemselves) {
    for (bool removeSelf : {false, true}) {
        releasedOrder.clear();
        ObjectList* owner = NewObjectList();
        for (int number = 1; number <= 3; ++number) {
            auto* item = NewObject<SelfRemoving>();
            item->number = number;
            item->home = removeSelf ? owner : nullptr;
            owner->Append(ToValue(item));
        }
        owner->Append(0);  // null slots are skipped
        ObjectList::ReleaseItemsAndSelf(owner);
        EXPECT_EQ(releasedOrder, (std::vector<int>{3, 2, 1})) << "removeSelf " << removeSelf;
    }
    ObjectList::ReleaseItemsAndSelf(nullptr);
}

}  // namespace
}  // namespace mvorbel
