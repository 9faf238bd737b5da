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

TEST(ObjectBaseTest, DisposesExactlyWhenTheLastUseEnds) {
    // h Hold, u Unhold, r Release: each sequence disposes the object at its last step, not before.
    for (const std::string steps : {"r", "hrru", "hhruu", "hur"}) {
        disposals.clear();
        Traced* object = NewTraced("x");
        std::string disposedAfter;
        for (std::size_t i = 0; i < steps.size() && disposals.empty(); ++i) {
            if (steps[i] == 'h') object->Hold();
            if (steps[i] == 'u') object->Unhold();
            if (steps[i] == 'r') ObjectBase::Release(object);
            if (!disposals.empty()) disposedAfter = steps.substr(0, i + 1);
        }
        EXPECT_EQ(disposedAfter, steps);
    }
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
