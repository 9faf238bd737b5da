// The BCD store's text rules apart from the registry: which texts are GUIDs (the only thing put on
// bcdedit's command line), the strings of a multi-string value, and where bcdedit is found (the
// scenarios show its command line).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/bcd_edit.h"
#include "core/bcd_store.h"

namespace mvorbel {
namespace {

std::basic_string<WCHAR> Units(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

TEST(BcdText, OnlyWellFormedGuidsAreTakenInEitherCase) {
    const struct {
        const char* text;
        bool guid;
    } rows[] = {
        {"{9dea862c-5cdd-4e70-acc1-f32b344d4795}", true},
        {"{466F5A88-0AF2-4F76-9038-095B170DC21C}", true},
        {"9dea862c-5cdd-4e70-acc1-f32b344d4795", false},
        {"{9dea862c-5cdd-4e70-acc1-f32b344d479}", false},
        {"{9dea862c-5cdd-4e70-acc1-f32b344d47955}", false},
        {"{9dea862c-5cdd-4e70-acc1f-32b344d4795}", false},
        {"{9dea862g-5cdd-4e70-acc1-f32b344d4795}", false},
        // A "GUID" that would carry more arguments onto bcdedit's command line.
        {"{9dea862c\" /delete -4e70-acc1-f32b34}", false},
        {"{current}", false},
        {"", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IsGuidText(Units(row.text)), row.guid) << row.text;
        EXPECT_EQ(GuidFromUnits(Units(row.text)), row.guid ? row.text : "") << row.text;
    }
    EXPECT_TRUE(SameGuid("{466F5A88-0AF2-4F76-9038-095B170DC21C}", "{466f5a88-0af2-4f76-9038-095b170dc21c}"));
    EXPECT_FALSE(SameGuid("{466f5a88-0af2-4f76-9038-095b170dc21c}", "{466f5a88-0af2-4f76-9038-095b170dc21d}"));
}

TEST(BcdText, MultiStringsEndAtTheirFirstEmptyString) {
    const struct {
        std::string units;
        std::vector<std::string> strings;
    } rows[] = {
        {std::string("a\0bc\0\0", 6), {"a", "bc"}},
        {std::string("a\0\0bc\0\0", 7), {"a"}},
        {std::string("a\0bc", 4), {"a", "bc"}},
        {std::string("\0a\0\0", 4), {}},
        {"", {}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> strings;
        const auto units = Units(row.units);
        ForEachString(WideView(units), [&](WideView text) { strings.emplace_back(text.begin(), text.end()); });
        EXPECT_EQ(strings, row.strings) << row.units.size() << " units";
    }
    EXPECT_EQ(StringValueText(Units(std::string("Windows 7\0x", 11))).size(), 9u);
}

// A 32-bit process on 64-bit Windows sees SysWOW64 as system32, where there is no bcdedit.
TEST(BcdText, BcdeditIsTakenFromTheNativeSystemFolder) {
    const struct {
        const char* systemDirectory;
        bool wow64;
        const char* folder;
    } rows[] = {
        {"D:\\WIN\\System32", true, "D:\\WIN\\Sysnative\\"},
        {"|\\", true, "|\\"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(NativeSystemFolder(row.systemDirectory, row.wow64), row.folder) << row.systemDirectory;
}

}  // namespace
}  // namespace mvorbel
