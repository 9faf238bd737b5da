#include "ui/object_base.h"

#include <gtest/gtest.h>

#include <string>

namespace mvorbel {
namespace {

std::string disposals;

// Records its name on entering Dispose, before the base finalises it.
class Traced : public ObjectBase {
public:
    void Dispose() override {
        disposals += name + " ";
        ObjectBase::Dispose();
    }
    std::string name;
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

}  // namespace
}  // namespace mvorbel
