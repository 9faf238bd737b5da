#include "ui/object_base.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/object_list.h"

namespace mvorbel {
namespace {

std::vector<std::string> disposals;

// Records its disposal by name, so tests can see when (and in which order) objects end.
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

class ObjectBaseTest : public ::testing::Test {
protected:
    void SetUp() override { disposals.clear(); }
};

TEST_F(ObjectBaseTest, NewObjectIsZeroAndRunsSetup) {
    struct WithSetup : ObjectBase {
        void Setup() override { setupRuns++; }
        int setupRuns;
    };
    WithSetup* object = NewObject<WithSetup>();
    EXPECT_EQ(object->setupRuns, 1);
    EXPECT_EQ(object->useCount, 0);
    EXPECT_EQ(object->ownedList, nullptr);
    EXPECT_FALSE(object->onDestroy.HasHandler());
    ObjectBase::Release(object);
}

TEST_F(ObjectBaseTest, ReleaseOfAFreshObjectDisposesAtOnceAndNullIsIgnored) {
    ObjectBase::Release(NewTraced("a"));
    EXPECT_EQ(disposals, std::vector<std::string>{"a"});
    ObjectBase::Release(nullptr);
    EXPECT_EQ(disposals.size(), 1u);
}

// Each step is h (Hold), u (Unhold) or r (Release); `disposedAfter` is the step index after which
// the object must be gone (-1: never, and the test releases it at the end).
struct UseCase {
    const char* steps;
    int disposedAfter;
    std::int32_t finalCount;
};

class UseCountTest : public ObjectBaseTest, public ::testing::WithParamInterface<UseCase> {};

TEST_P(UseCountTest, DisposesExactlyAtTheRightStep) {
    const UseCase& use = GetParam();
    Traced* object = NewTraced("x");
    const std::string steps = use.steps;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        ASSERT_TRUE(disposals.empty()) << "disposed before step " << i << " of " << steps;
        switch (steps[i]) {
            case 'h': object->Hold(); break;
            case 'u': object->Unhold(); break;
            case 'r': ObjectBase::Release(object); break;
        }
        if (static_cast<int>(i) == use.disposedAfter) {
            EXPECT_EQ(disposals.size(), 1u) << "not disposed after step " << i << " of " << steps;
            return;
        }
    }
    EXPECT_TRUE(disposals.empty()) << steps;
    EXPECT_EQ(object->useCount, use.finalCount) << steps;
    object->useCount = 0;
    ObjectBase::Release(object);
}

INSTANTIATE_TEST_SUITE_P(Cases, UseCountTest,
                         ::testing::Values(UseCase{"hrru", 3, 0},   // second release does nothing
                                           UseCase{"hhru", -1, 1},  // still held once
                                           UseCase{"hhruu", 4, 0},
                                           UseCase{"hu", -1, 0},     // balanced: alive, count 0
                                           UseCase{"hur", 2, 0},     // later release disposes
                                           UseCase{"hhuu", -1, 0},   // unhold never disposes alone
                                           UseCase{"hr", -1, 1}));

TEST_F(ObjectBaseTest, OwnedObjectsAreReleasedNewestFirstAfterTheDestroyEvent) {
    Traced* owner = NewTraced("owner");
    owner->onDestroy = {[](void* data, ObjectBase* object) {
                            disposals.push_back(std::string("event:") + static_cast<const char*>(data) +
                                                ":" + static_cast<Traced*>(object)->name);
                        },
                        const_cast<char*>("d")};
    owner->AddOwned(NewTraced("A"));
    owner->AddOwned(NewTraced("B"));
    ObjectBase::Release(owner);
    // Traced records its name on entering Dispose, before the base finalises it.
    EXPECT_EQ(disposals, (std::vector<std::string>{"owner", "event:d:owner", "B", "A"}));
}

TEST_F(ObjectBaseTest, AHeldOwnedObjectIsOnlyMarkedWhenItsOwnerEnds) {
    Traced* owner = NewTraced("owner");
    Traced* owned = NewTraced("owned");
    owned->Hold();
    owner->AddOwned(owned);
    ObjectBase::Release(owner);
    EXPECT_EQ(disposals, std::vector<std::string>{"owner"});
    EXPECT_EQ(owned->useCount, 1);
    owned->Unhold();
    EXPECT_EQ(disposals, (std::vector<std::string>{"owner", "owned"}));
}

TEST_F(ObjectBaseTest, FinaliseTwiceRunsTheOwnedObjectsOnce) {
    Traced* owner = NewTraced("owner");
    owner->AddOwned(NewTraced("A"));
    owner->Finalise();
    EXPECT_EQ(owner->ownedList, nullptr);
    ObjectBase::Release(owner);
    EXPECT_EQ(disposals, (std::vector<std::string>{"A", "owner"})) << "A released twice?";
}

}  // namespace
}  // namespace mvorbel
