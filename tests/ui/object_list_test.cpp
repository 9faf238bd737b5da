#include "ui/object_list.h"

#include <gtest/gtest.h>

#include <string>

namespace mvorbel {
namespace {

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
