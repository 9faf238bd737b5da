// Menus built from random templates, then entries hidden, shown, checked and renamed in random
// order: every platform menu, read back, is the model's visible entries in template order.
//
// Input: the template's texts, one a line ('\n' between them, bytes outside ' '..'~' read as '?'),
// up to a NUL byte; after it, the Windows version, then steps of two bytes (what, which entry).
#include "platform/winsim/system/system_control.h"
#include "platform/winsim/ui/ui_control.h"
#include "tests/fuzz/fuzz_support.h"
#include "ui/menu_object.h"
#include "ui/window_object.h"

using namespace mvorbel;
using namespace mvorbel::fuzz;

namespace {

struct Entry {
    std::string text;
    bool separator = false, checked = false, radio = false, shown = true, hasSubmenu = false;
    int parent = -1;  // -1: the popup itself
};

// The template's rules: "" ends it all, ")" ends a level, "-" is a separator, a "-" or "+" prefix
// makes a toggle ("+" checked), then "!" a radio entry and "!!" one that starts a group; "(" right
// after an entry opens its submenu. Entries are numbered depth-first in template order.
std::vector<Entry> Parse(const std::vector<std::string>& texts) {
    std::vector<Entry> all;
    std::vector<int> levels{-1};
    for (std::size_t i = 0; i < texts.size() && !texts[i].empty(); ++i) {
        std::string_view text = texts[i];
        if (text == ")") {
            levels.pop_back();
            if (levels.empty()) break;
            continue;
        }
        Entry& entry = all.emplace_back();
        entry.parent = levels.back();
        entry.separator = text == "-";
        if (!entry.separator && (text[0] == '-' || text[0] == '+')) {
            entry.checked = text[0] == '+';
            text.remove_prefix(1);
            if (!text.empty() && text[0] == '!') {
                entry.radio = true;
                text.remove_prefix(text.size() > 1 && text[1] == '!' ? 2 : 1);
            }
        }
        entry.text = entry.separator ? "" : text;
        entry.hasSubmenu = i + 1 < texts.size() && texts[i + 1] == "(";
        if (entry.hasSubmenu) {
            levels.push_back(int(all.size()) - 1);
            ++i;
        }
    }
    return all;
}

// One item as the messages show it: "id text", "id -" for a separator, "*" checked, "o" radio.
std::string Item(std::size_t id, bool separator, const std::string& text, bool checked, bool radio) {
    return std::to_string(id) + (separator ? " -" : " " + Shown(text)) + (checked ? "*" : "") + (radio ? "o" : "") +
           "; ";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t templateEnd = std::min(bytes.find('\0'), bytes.size());
    std::vector<std::string> texts(1);
    for (char c : bytes.substr(0, templateEnd)) {
        if (c == '\n') texts.emplace_back();
        if (c != '\n') texts.back() += c >= ' ' && c <= '~' ? c : '?';
    }
    if (texts.size() > 64) return -1;
    const std::string_view steps = bytes.substr(std::min(templateEnd + 1, size));

    testing::StartProcess();
    nextCommandId = kFirstCommandId;
    // XP, 95, NT 4.0, 98.
    static const DWORD kVersions[][3] = {{VER_PLATFORM_WIN32_NT, 5, 1}, {VER_PLATFORM_WIN32_WINDOWS, 4, 0},
                                         {VER_PLATFORM_WIN32_NT, 4, 0}, {VER_PLATFORM_WIN32_WINDOWS, 4, 10}};
    const DWORD* version = kVersions[Byte(steps, 0) % 4];
    winsim::SetVersion(version[0], version[1], version[2]);
    // As the chooser does it: a hidden form with an empty menu bar, then the popup.
    WindowObject* window = applicationWindow = NewForm(nullptr, "mVorbel");
    window->SetVisible(false);
    static const char* const kEmpty[] = {""};
    MenuObject::BuildFromTemplate(window, kEmpty, {});
    std::vector<const char*> pointers;
    for (const std::string& text : texts) pointers.push_back(text.c_str());
    MenuObject* menu = MenuObject::BuildFromTemplate(window, pointers, {});
    std::vector<Entry> all = Parse(texts);

    const auto compare = [&] {
        for (int owner = -1; owner < int(all.size()); ++owner) {
            if (owner >= 0 && !all[owner].hasSubmenu) continue;
            std::string expected, got;
            for (std::size_t i = 0; i < all.size(); ++i) {
                const Entry& e = all[i];
                if (e.parent != owner || !e.shown) continue;
                expected += Item(kFirstCommandId + i, e.separator, e.text, e.checked, e.radio);
            }
            for (const auto& line : winsim::ReadMenu(menu->ItemAt(owner)->menuHandle.get())) {
                got += Item(line.id, line.separator, line.text, line.checked, line.radio);
            }
            Check(got == expected, "each platform menu shows the visible entries in template order",
                  "menu of position " + std::to_string(owner) + "\ngot      " + got + "\nexpected " + expected);
        }
    };
    compare();
    for (std::size_t at = 1; at < steps.size() && at < 129; at += 2) {
        const std::uint8_t what = Byte(steps, at), which = Byte(steps, at + 1);
        // Positions from -1 (the popup) to one past the last entry, or the same as command ids.
        const int position = which % 0x80 % (all.size() + 2) - 1;
        const int key = (which & 0x80) && position >= 0 ? int(kFirstCommandId) + position : position;
        Entry* entry = position >= 0 && position < int(all.size()) ? &all[position] : nullptr;
        if (what % 5 < 2) {
            menu->SetItemVisible(key, what % 5 == 1);
            if (entry != nullptr) entry->shown = what % 5 == 1;
            // Showing an entry shows the entries it is under.
            for (int up = what % 5 == 1 && entry != nullptr ? entry->parent : -1; up >= 0; up = all[up].parent) {
                all[up].shown = true;
            }
        } else if (what % 5 < 4) {
            menu->SetItemChecked(key, what % 5 == 2);
            if (entry != nullptr) entry->checked = what % 5 == 2;
        } else if (entry == nullptr || !entry->separator) {
            // A separator given a text stays a separator only on the newer platforms: none is renamed.
            const std::string text = what / 5 % 4 == 0 ? "" : "t" + std::to_string(what);
            menu->SetItemText(key, MakeDisplayText(text));
            if (entry != nullptr) entry->text = text;
        }
        compare();
    }
    return 0;
}
