#pragma once
// Reading one text of a menu template: the prefix characters and what they make of the entry.
#include <cstdint>
#include <string_view>

namespace mvorbel {

struct TemplateText {
    enum class Kind { End, EndLevel, Separator, Entry };
    Kind kind = Kind::End;
    bool isToggle = false;   // "-" or "+" prefix
    bool checked = false;    // "+" prefix
    bool isRadio = false;    // one "!" after the toggle prefix
    bool newGroup = false;   // a second "!": the entry starts a new radio group
    std::string_view text;   // what the platform shows: the text after the prefix characters
};

// A null text is the end, like the empty one. "(" is only special right after an entry, which
// its reader checks with OpensLevel; read on its own it is a plain entry.
TemplateText ReadTemplateText(const char* text);
bool OpensLevel(const char* text);

// The radio group of an entry, from the group of the entry before it at its level (0: none).
std::int32_t RadioGroup(std::int32_t previousGroup, bool newGroup);

}  // namespace mvorbel
