#include "ui/menu_template.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace mvorbel {
namespace {

using Kind = TemplateText::Kind;

TEST(ReadTemplateTextTest, PrefixesAreReadOnlyWhereTheyMeanSomething) {
    // text, what it reads as, flags (t toggle, c checked, r radio, n new radio group), shown text
    const std::tuple<const char*, Kind, const char*, const char*> cases[] = {
        {nullptr, Kind::End, "", ""},         {"", Kind::End, "", ""},
        {")", Kind::EndLevel, "", ")"},       {"-", Kind::Separator, "", "-"},
        {"+Opt", Kind::Entry, "tc", "Opt"},   {"-Opt", Kind::Entry, "t", "Opt"},
        {"-!A", Kind::Entry, "tr", "A"},      {"+!!C", Kind::Entry, "tcrn", "C"},
        {"-!!!D", Kind::Entry, "trn", "!D"},  {"!Plain", Kind::Entry, "", "!Plain"},
        {"--", Kind::Entry, "t", "-"},        {"))", Kind::Entry, "", "))"}};
    for (const auto& [text, kind, flags, shown] : cases) {
        const TemplateText read = ReadTemplateText(text);
        const std::string got = std::string(read.isToggle ? "t" : "") + (read.checked ? "c" : "") +
                                (read.isRadio ? "r" : "") + (read.newGroup ? "n" : "");
        const char* name = text != nullptr ? text : "(null)";
        EXPECT_EQ(read.kind, kind) << name;
        EXPECT_EQ(got, flags) << name;
        EXPECT_EQ(read.text, shown) << name;
    }
}

}  // namespace
}  // namespace mvorbel
