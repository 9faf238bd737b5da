#include "ui/object_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mvorbel {
namespace {

std::vector<ObjectList::Value> Contents(const ObjectList& list) {
    return {list.items.get(), list.items.get() + list.count};
}

std::vector<ObjectList::Value> Values(std::initializer_list<int> values) {
    return {values.begin(), values.end()};
}

class ObjectListTest : public ::testing::Test {
protected:
    void SetUp() override { list = NewObjectList(); }
    void TearDown() override { ObjectBase::Release(list); }
    void Fill(std::initializer_list<int> values) {
        for (int value : values) list->Append(value);
    }
    ObjectList* list = nullptr;
};

TEST_F(ObjectListTest, CapacityGrowsByFourFromZero) {
    EXPECT_EQ(list->growStep, 4);
    EXPECT_EQ(list->capacity, 0);
    EXPECT_EQ(list->items, nullptr);
    const std::vector<int> capacityAfter = {4, 4, 4, 4, 8, 8, 8, 8, 12};
    for (int i = 0; i < static_cast<int>(capacityAfter.size()); ++i) {
        EXPECT_EQ(list->Append(100 + i), i);
        EXPECT_EQ(list->capacity, capacityAfter[i]) << "after append " << i + 1;
    }
    EXPECT_EQ(list->At(8), 108u);
}

TEST_F(ObjectListTest, InsertAtShiftsUpAndAtCountAppends) {
    Fill({1, 2, 3});
    list->InsertAt(3, 4);
    EXPECT_EQ(Contents(*list), Values({1, 2, 3, 4}));
    list->InsertAt(0, 0);
    EXPECT_EQ(Contents(*list), Values({0, 1, 2, 3, 4}));
    EXPECT_EQ(list->capacity, 8);
    list->InsertAt(2, 9);
    EXPECT_EQ(Contents(*list), Values({0, 1, 9, 2, 3, 4}));
}

struct RangeCase {
    int index;
    int n;
    std::vector<ObjectList::Value> left;
};

class RemoveRangeTest : public ObjectListTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RemoveRangeTest, RemovesWithinTheListAndNeverShrinks) {
    Fill({1, 2, 3, 4, 5});
    list->RemoveRange(GetParam().index, GetParam().n);
    EXPECT_EQ(Contents(*list), GetParam().left) << "index " << GetParam().index << " n " << GetParam().n;
    EXPECT_EQ(list->capacity, 8);
}

INSTANTIATE_TEST_SUITE_P(Cases, RemoveRangeTest,
                         ::testing::Values(RangeCase{1, 2, Values({1, 4, 5})},
                                           RangeCase{3, 10, Values({1, 2, 3})},  // past the end
                                           RangeCase{0, 0, Values({1, 2, 3, 4, 5})},
                                           RangeCase{0, -3, Values({1, 2, 3, 4, 5})},
                                           RangeCase{0, 5, Values({})}));

TEST_F(ObjectListTest, FindAtAndRemoveValue) {
    Fill({7, 8, 7});
    EXPECT_EQ(list->Find(7), 0);
    EXPECT_EQ(list->Find(9), -1);
    EXPECT_EQ(list->At(-1), 0u);
    EXPECT_EQ(list->At(3), 0u);
    list->RemoveValue(7);
    EXPECT_EQ(Contents(*list), Values({8, 7}));
    list->RemoveValue(9);
    list->RemoveAt(0);
    EXPECT_EQ(Contents(*list), Values({7}));
}

TEST_F(ObjectListTest, ReserveKeepsContentsAndNeverCutsBelowCount) {
    Fill({1, 2, 3});
    list->Reserve(1);
    EXPECT_EQ(list->capacity, 3);
    EXPECT_EQ(Contents(*list), Values({1, 2, 3}));
    list->Empty();
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->capacity, 0);
    EXPECT_EQ(list->items, nullptr);
}

std::vector<int> releasedOrder;

// Removes itself from the list it is in while being disposed, as menu entries do.
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
