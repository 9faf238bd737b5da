#include "ui/object_list.h"

#include <gtest/gtest.h>

#include <string>

namespace mvorbel {
namespace {

std::string disposals;

// Records its name on entering Dispose, before the base finalises it; one with a home list
// removes itself from it there, as menu entries do.
class Traced : public ObjectBase {
public:
    void Dispose() override {
        disposals += name + " ";
        if (home != nullptr) home->RemoveValue(ToValue(this));
        ObjectBase::Dispose();
    }
    std::string name;
    ObjectList* home = nullptr;
};

Traced* NewTraced(const std::string& name) {
    Traced* object = NewObject<Traced>();
    object->name = name;
    return object;
}

TEST(ObjectBaseTest, OwnedObjectsGoNewestFirstAfterTheDestroyEventAndHeldOnesAreOnlyMarked) {
    disposals.clear();
    ObjectBase::Release(nullptr);
    Traced* owner = NewTraced("owner");
    owner->onDestroy = {[](void*, ObjectBase*) { disposals += "event "; }, nullptr};
    Traced* held = NewTraced("held");
    held->Hold();
    owner->AddOwned(held);
    owner->AddOwned(NewTraced("A"));
    owner->AddOwned(NewTraced("B"));
    ObjectBase::Release(owner);
    EXPECT_EQ(disposals, "owner event B A ");
    held->Unhold();
    EXPECT_EQ(disposals, "owner event B A held ");
}

TEST(ObjectListTest, ReleasesFromTheLastSlotEvenWhenItemsRemoveThemselves) {
    ObjectList::ReleaseItemsAndSelf(nullptr);
    for (bool removeSelf : {false, true}) {
        disposals.clear();
        ObjectList* owner = NewObjectList();
        for (const char* name : {"1", "2", "3"}) {
            Traced* item = NewTraced(name);
            item->home = removeSelf ? owner : nullptr;
            owner->Append(ToValue(item));
        }
        owner->Append(0);  // null slots are skipped
        ObjectList::ReleaseItemsAndSelf(owner);
        EXPECT_EQ(disposals, "3 2 1 ") << "removeSelf " << removeSelf;
    }
}

}  // namespace
}  // namespace mvorbel
