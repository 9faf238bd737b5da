#include "ui/object_base.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/object_list.h"

namespace mvorbel {
namespace {

std::vector<std::string> disposals;

// Records its name on entering Dispose, before the base finalises it.
class Traced : public ObjectBase {
public:
    void Dispose() override {
        disposals.push_back(name);
        ObjectBase::Dispose();
    }
    std::string name;
};

Traced* NewTraced(const std::string& name) {
    Traced* object = NewObject<Traced>();
    object->name = name;
    return object;
}

// Steps: h Hold, u Unhold, r Release. `disposedAfter`: the step after which the object must be
// gone, -1 for never (the object is then left with `finalCount`).
struct UseCase {
    const char* steps;
    int disposedAfter;
    std::int32_t finalCount;
};

class UseCountTest : public ::testing::TestWithParam<UseCase> {};

TEST_P(UseCountTest, DisposesExactlyAtTheRightStep) {
    disposals.clear();
    const std::string steps = GetParam().steps;
    Traced* object = NewTraced("x");
    for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
        ASSERT_TRUE(disposals.empty()) << "disposed before step " << i << " of " << steps;
        if (steps[i] == 'h') object->Hold();
        if (steps[i] == 'u') object->Unhold();
        if (steps[i] == 'r') ObjectBase::Release(object);
        if (i == GetParam().disposedAfter) {
            EXPECT_EQ(disposals.size(), 1u) << "alive after step " << i << " of " << steps;
            return;
        }
    }
    ASSERT_TRUE(disposals.empty()) << steps;
    EXPECT_EQ(object->useCount, GetParam().finalCount) << steps;
    object->useCount = 0;
    ObjectBase::Release(object);
}

INSTANTIATE_TEST_SUITE_P(Cases, UseCountTest,
                         ::testing::Values(UseCase{"r", 0, 0}, UseCase{"hrru", 3, 0}, UseCase{"hhru", -1, 1},
                                           UseCase{"hhruu", 4, 0}, UseCase{"hu", -1, 0}, UseCase{"hur", 2, 0},
                                           UseCase{"hhuu", -1, 0}));

TEST(ObjectBaseTest, OwnedObjectsGoNewestFirstAfterTheDestroyEventAndHeldOnesAreOnlyMarked) {
    disposals.clear();
    ObjectBase::Release(nullptr);
    Traced* owner = NewTraced("owner");
    owner->onDestroy = {[](void* data, ObjectBase* object) {
                            disposals.push_back(static_cast<const char*>(data) + static_cast<Traced*>(object)->name);
                        },
                        const_cast<char*>("event:")};
    Traced* held = NewTraced("held");
    held->Hold();
    owner->AddOwned(held);
    owner->AddOwned(NewTraced("A"));
    owner->AddOwned(NewTraced("B"));
    ObjectBase::Release(owner);
    EXPECT_EQ(disposals, (std::vector<std::string>{"owner", "event:owner", "B", "A"}));
    EXPECT_EQ(held->useCount, 1);
    held->Unhold();
    EXPECT_EQ(disposals.back(), "held");
}

}  // namespace
}  // namespace mvorbel
