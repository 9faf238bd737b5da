#include "ui/menu_template.h"

#include <gtest/gtest.h>

#include <string>

namespace mvorbel {
namespace {

using Kind = TemplateText::Kind;

TEST(ReadTemplateTextTest, PrefixesAreReadOnlyWhereTheyMeanSomething) {
    // flags: t toggle, c checked, r radio, n new radio group.
    const struct {
        const char* text;
        Kind kind;
        std::string flags;
        const char* shown;
    } cases[] = {{nullptr, Kind::End, "", ""},          {"", Kind::End, "", ""},
                 {")", Kind::EndLevel, "", ")"},        {"-", Kind::Separator, "", "-"},
                 {"+Opt", Kind::Entry, "tc", "Opt"},    {"-Opt", Kind::Entry, "t", "Opt"},
                 {"-!A", Kind::Entry, "tr", "A"},       {"+!!C", Kind::Entry, "tcrn", "C"},
                 {"-!!!D", Kind::Entry, "trn", "!D"},   {"!Plain", Kind::Entry, "", "!Plain"},
                 {"--", Kind::Entry, "t", "-"},         {"))", Kind::Entry, "", "))"}};
    for (const auto& c : cases) {
        const TemplateText read = ReadTemplateText(c.text);
        const std::string flags = std::string(read.isToggle ? "t" : "") + (read.checked ? "c" : "") +
                                  (read.isRadio ? "r" : "") + (read.newGroup ? "n" : "");
        const char* name = c.text != nullptr ? c.text : "(null)";
        EXPECT_EQ(read.kind, c.kind) << name;
        EXPECT_EQ(flags, c.flags) << name;
        EXPECT_EQ(read.text, c.shown) << name;
    }
}

}  // namespace
}  // namespace mvorbel
