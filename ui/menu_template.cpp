#include "ui/menu_template.h"

namespace mvorbel {

TemplateText ReadTemplateText(const char* text) {
    TemplateText read;
    if (text == nullptr || *text == '\0') return read;
    std::string_view rest = text;
    read.text = rest;
    if (rest == ")") {
        read.kind = TemplateText::Kind::EndLevel;
        return read;
    }
    if (rest == "-") {
        read.kind = TemplateText::Kind::Separator;
        return read;
    }
    read.kind = TemplateText::Kind::Entry;
    if (rest.front() == '-' || rest.front() == '+') {
        read.isToggle = true;
        read.checked = rest.front() == '+';
        rest.remove_prefix(1);
        if (!rest.empty() && rest.front() == '!') {
            read.isRadio = true;
            rest.remove_prefix(1);
            if (!rest.empty() && rest.front() == '!') {
                read.newGroup = true;
                rest.remove_prefix(1);
            }
        }
    }
    read.text = rest;
    return read;
}

bool OpensLevel(const char* text) { return text != nullptr && std::string_view(text) == "("; }

std::int32_t RadioGroup(std::int32_t previousGroup, bool newGroup) {
    const std::int32_t group = previousGroup != 0 ? previousGroup : 1;
    return newGroup ? group + 1 : group;
}

}  // namespace mvorbel
