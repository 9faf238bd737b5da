#include "ui/object_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mvorbel {
namespace {

using Values = std::vector<ObjectList::Value>;

Values Contents(const ObjectList* list) {
    return {list->items, list->items + list->count};
}

TEST(ObjectListTest, GrowsByFourFromZeroEditsStayWithinTheListAndItNeverShrinks) {
    ObjectList* list = NewObjectList();
    EXPECT_EQ(list->capacity, 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list->Append(i + 1), i);
        EXPECT_EQ(list->capacity, i < 4 ? 4 : 8) << "after append " << i + 1;
    }
    list->InsertAt(0, 4);
    EXPECT_EQ(Contents(list), (Values{4, 1, 2, 3, 4, 5}));
    EXPECT_EQ(list->Find(4), 0);
    EXPECT_EQ(list->Find(7), -1);
    EXPECT_EQ(list->At(-1), 0u);
    EXPECT_EQ(list->At(6), 0u);
    list->RemoveValue(4);      // the first only
    list->RemoveRange(2, 10);  // clipped at the end
    EXPECT_EQ(Contents(list), (Values{1, 2}));
    EXPECT_EQ(list->capacity, 8);
    ObjectBase::Release(list);
}

std::string released;

// Removes itself from its list while being disposed, as menu entries do.
class SelfRemoving : public ObjectBase {
public:
    void Dispose() override {
        released += name;
        if (home != nullptr) home->RemoveValue(ToValue(this));
        ObjectBase::Dispose();
    }
    char name = 0;
    ObjectList* home = nullptr;
};

TEST(ObjectListTest, ReleasesFromTheLastSlotEvenWhenItemsRemoveThemselves) {
    ObjectList::ReleaseItemsAndSelf(nullptr);
    for (bool removeSelf : {false, true}) {
        released.clear();
        ObjectList* owner = NewObjectList();
        for (char name : {'1', '2', '3'}) {
            auto* item = NewObject<SelfRemoving>();
            item->name = name;
            item->home = removeSelf ? owner : nullptr;
            owner->Append(ToValue(item));
        }
        owner->Append(0);  // null slots are skipped
        ObjectList::ReleaseItemsAndSelf(owner);
        EXPECT_EQ(released, "321") << "removeSelf " << removeSelf;
    }
}

}  // namespace
}  // namespace mvorbel
