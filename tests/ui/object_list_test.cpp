#include "ui/object_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace mvorbel {
namespace {

using Values = std::vector<ObjectList::Value>;

class ObjectListTest : public ::testing::Test {
protected:
    void SetUp() override { list = NewObjectList(); }
    void TearDown() override { ObjectBase::Release(list); }
    void Fill(std::initializer_list<int> values) {
        for (int value : values) list->Append(value);
    }
    Values Contents() const { return {list->items.get(), list->items.get() + list->count}; }
    ObjectList* list = nullptr;
};

TEST_F(ObjectListTest, CapacityGrowsByFourFromZero) {
    EXPECT_EQ(list->capacity, 0);
    const std::vector<int> capacityAfter = {4, 4, 4, 4, 8, 8, 8, 8, 12};
    for (int i = 0; i < static_cast<int>(capacityAfter.size()); ++i) {
        EXPECT_EQ(list->Append(100 + i), i);
        EXPECT_EQ(list->capacity, capacityAfter[i]) << "after append " << i + 1;
    }
    EXPECT_EQ(list->At(8), 108u);
}

TEST_F(ObjectListTest, InsertFindAtAndRemoveValue) {
    Fill({1, 2, 3});
    list->InsertAt(3, 4);
    list->InsertAt(0, 4);
    EXPECT_EQ(Contents(), (Values{4, 1, 2, 3, 4}));
    EXPECT_EQ(list->Find(4), 0);
    EXPECT_EQ(list->Find(9), -1);
    EXPECT_EQ(list->At(-1), 0u);
    EXPECT_EQ(list->At(5), 0u);
    list->RemoveValue(4);
    EXPECT_EQ(Contents(), (Values{1, 2, 3, 4}));
}

struct RangeCase {
    int index;
    int n;
    Values left;
};

class RemoveRangeTest : public ObjectListTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RemoveRangeTest, RemovesWithinTheListAndNeverShrinks) {
    Fill({1, 2, 3, 4, 5});
    list->RemoveRange(GetParam().index, GetParam().n);
    EXPECT_EQ(Contents(), GetParam().left) << "index " << GetParam().index << " n " << GetParam().n;
    EXPECT_EQ(list->capacity, 8);
}

INSTANTIATE_TEST_SUITE_P(Cases, RemoveRangeTest,
                         ::testing::Values(RangeCase{1, 2, {1, 4, 5}}, RangeCase{3, 10, {1, 2, 3}},
                                           RangeCase{0, 0, {1, 2, 3, 4, 5}}, RangeCase{0, -3, {1, 2, 3, 4, 5}}));

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

TEST(ObjectListRelease, ReleasesFromTheLastSlotEvenWhenItemsRemoveThemselves) {
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
