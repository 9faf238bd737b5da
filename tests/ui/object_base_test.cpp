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

TEST(ObjectBaseTest, DisposesExactlyAtTheRightStep) {
    // Steps: h Hold, u Unhold, r Release. `disposedAfter`: the step after which the object must be
    // gone, -1 for never (the object is then left with `finalCount`).
    const struct {
        const char* steps;
        int disposedAfter;
        std::int32_t finalCount;
    } cases[] = {{"r", 0, 0},     {"hrru", 3, 0}, {"hhru", -1, 1}, {"hhruu", 4, 0},
                 {"hu", -1, 0},   {"hur", 2, 0},  {"hhuu", -1, 0}};
    for (const auto& c : cases) {
        disposals.clear();
        Traced* object = NewTraced("x");
        for (int i = 0; c.steps[i] != '\0'; ++i) {
            if (c.steps[i] == 'h') object->Hold();
            if (c.steps[i] == 'u') object->Unhold();
            if (c.steps[i] == 'r') ObjectBase::Release(object);
            EXPECT_EQ(disposals, i >= c.disposedAfter && c.disposedAfter >= 0 ? "x " : "")
                << "after step " << i << " of " << c.steps;
            if (i == c.disposedAfter) break;
        }
        if (c.disposedAfter >= 0) continue;
        EXPECT_EQ(object->useCount, c.finalCount) << c.steps;
        object->useCount = 0;
        ObjectBase::Release(object);
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
    EXPECT_EQ(held->useCount, 1);
    held->Unhold();
    EXPECT_EQ(disposals, "owner event B A held ");
}

}  // namespace
}  // namespace mvorbel
