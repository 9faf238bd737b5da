#include "ui/menu_template.h"

#include <gtest/gtest.h>

namespace mvorbel {
namespace {

using Kind = TemplateText::Kind;

struct TextCase {
    const char* text;
    Kind kind;
    bool isToggle, checked, isRadio, newGroup;
    const char* shown;
};

class ReadTemplateTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ReadTemplateTextTest, PrefixesAreReadOnlyWhereTheyMeanSomething) {
    const TextCase& c = GetParam();
    const TemplateText read = ReadTemplateText(c.text);
    const char* name = c.text != nullptr ? c.text : "(null)";
    EXPECT_EQ(read.kind, c.kind) << name;
    EXPECT_EQ(read.isToggle, c.isToggle) << name;
    EXPECT_EQ(read.checked, c.checked) << name;
    EXPECT_EQ(read.isRadio, c.isRadio) << name;
    EXPECT_EQ(read.newGroup, c.newGroup) << name;
    if (c.kind != Kind::End) {
        EXPECT_EQ(read.text, c.shown) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadTemplateTextTest,
    ::testing::Values(TextCase{nullptr, Kind::End, false, false, false, false, ""},
                      TextCase{"", Kind::End, false, false, false, false, ""},
                      TextCase{")", Kind::EndLevel, false, false, false, false, ")"},
                      TextCase{"-", Kind::Separator, false, false, false, false, "-"},
                      TextCase{"+Opt", Kind::Entry, true, true, false, false, "Opt"},
                      TextCase{"-Opt", Kind::Entry, true, false, false, false, "Opt"},
                      TextCase{"-!A", Kind::Entry, true, false, true, false, "A"},
                      TextCase{"+!!C", Kind::Entry, true, true, true, true, "C"},
                      TextCase{"-!!!D", Kind::Entry, true, false, true, true, "!D"},
                      TextCase{"!Plain", Kind::Entry, false, false, false, false, "!Plain"},
                      TextCase{"(", Kind::Entry, false, false, false, false, "("},
                      TextCase{"--", Kind::Entry, true, false, false, false, "-"},
                      TextCase{"))", Kind::Entry, false, false, false, false, "))"}));

TEST(RadioGroupTest, RunsOfSiblingsShareAGroupAndADoubleBangStartsTheNext) {
    // -!A, -!B, -!!C, -!D
    std::int32_t group = 0;
    std::vector<std::int32_t> groups;
    for (bool newGroup : {false, false, true, false}) groups.push_back(group = RadioGroup(group, newGroup));
    EXPECT_EQ(groups, (std::vector<std::int32_t>{1, 1, 2, 2}));
    EXPECT_EQ(RadioGroup(0, true), 2);
}

}  // namespace
}  // namespace mvorbel
