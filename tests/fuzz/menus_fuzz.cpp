// Menus built from random templates, then entries hidden, shown, checked and renamed in random
// order: every platform menu, read back, is the model's visible entries in template order.
//
// Input: the template's texts, one a line ('\n' between them, bytes outside ' '..'~' read as '?'),
// up to a NUL byte; after it, the Windows version, then steps of two bytes (what, which entry).
#include <memory>

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
    bool separator = false, checked = false, radio = false, shown = true;
    bool hasSubmenu = false;
    std::vector<Entry*> entries;
    Entry* parent = nullptr;
};

// The template's rules: "" ends it all, ")" ends a level, "-" is a separator, a "-" or "+" prefix
// makes a toggle ("+" checked), then "!" a radio entry and "!!" one that starts a group; "(" right
// after an entry opens its submenu. Entries are numbered depth-first in template order.
std::size_t ParseLevel(Entry* parent, const std::vector<std::string>& texts, std::size_t i,
                       std::vector<std::unique_ptr<Entry>>& all) {
    while (i < texts.size()) {
        std::string_view text = texts[i];
        if (text.empty()) return i;
        if (text == ")") return i + 1;
        auto& entry = *all.emplace_back(std::make_unique<Entry>());
        entry.parent = parent;
        parent->entries.push_back(&entry);
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
        i = entry.hasSubmenu ? ParseLevel(&entry, texts, i + 2, all) : i + 1;
    }
    return i;
}

std::string Describe(const std::vector<winsim::MenuLine>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += std::to_string(line.id) + (line.separator ? " -" : " " + Shown(line.text)) + (line.checked ? "*" : "") +
                (line.radio ? "o" : "") + (line.submenu != nullptr ? ">" : "") + "; ";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t templateEnd = std::min(bytes.find('\0'), bytes.size());
    std::vector<std::string> texts(1);
    for (char c : bytes.substr(0, templateEnd)) {
        if (c == '\n') {
            texts.emplace_back();
        } else {
            texts.back() += c >= ' ' && c <= '~' ? c : '?';
        }
    }
    if (texts.size() > 64) return -1;
    InputReader input{bytes.substr(std::min(templateEnd + 1, size))};

    testing::StartProcess();
    nextCommandId = kFirstCommandId;
    static const std::pair<DWORD, DWORD> kVersions[] = {{VER_PLATFORM_WIN32_NT, 5}, {VER_PLATFORM_WIN32_WINDOWS, 0},
                                                         {VER_PLATFORM_WIN32_NT, 4}, {VER_PLATFORM_WIN32_WINDOWS, 10}};
    const std::uint8_t version = input.Byte() % 4;
    const auto [platform, minor] = kVersions[version];
    winsim::SetVersion(platform, platform == VER_PLATFORM_WIN32_NT ? minor : 4, platform == VER_PLATFORM_WIN32_NT ? 1 : minor);
    // As the chooser does it: a hidden form with an empty menu bar, then the popup.
    WindowObject* window = applicationWindow = NewForm(nullptr, "mVorbel");
    window->SetVisible(false);
    static const char* const kEmpty[] = {""};
    MenuObject::BuildFromTemplate(window, kEmpty, {});
    std::vector<const char*> pointers;
    for (const std::string& text : texts) pointers.push_back(text.c_str());
    MenuObject* menu = MenuObject::BuildFromTemplate(window, pointers, {});

    Entry root;
    root.hasSubmenu = true;
    std::vector<std::unique_ptr<Entry>> all;
    ParseLevel(&root, texts, 0, all);
    Check(menu->CountAll() == int(all.size()), "the menu has the template's entries",
          std::to_string(menu->CountAll()) + " for " + std::to_string(all.size()));

    std::string steps;
    const auto compare = [&] {
        for (int position = -1; position < int(all.size()); ++position) {
            const Entry& entry = position < 0 ? root : *all[position];
            if (!entry.hasSubmenu) continue;
            std::vector<winsim::MenuLine> expected;
            for (const Entry* child : entry.entries) {
                if (!child->shown) continue;
                winsim::MenuLine line;
                const auto number = std::find_if(all.begin(), all.end(), [&](auto& e) { return e.get() == child; }) - all.begin();
                line.id = UINT(kFirstCommandId + number);
                line.text = child->text, line.separator = child->separator, line.checked = child->checked;
                line.radio = child->radio;
                expected.push_back(line);
            }
            std::vector<winsim::MenuLine> got = winsim::ReadMenu(menu->ItemAt(position)->menuHandle.get());
            bool same = got.size() == expected.size();
            for (std::size_t i = 0; same && i < got.size(); ++i) {
                same = got[i].id == expected[i].id && got[i].separator == expected[i].separator &&
                       (got[i].separator || got[i].text == expected[i].text) && got[i].checked == expected[i].checked &&
                       got[i].radio == expected[i].radio;
                expected[i].submenu = got[i].submenu;
            }
            Check(same, "each platform menu shows the visible entries in template order",
                  "menu of position " + std::to_string(position) + "\ngot      " + Describe(got) + "\nexpected " +
                      Describe(expected) + "\nsteps " + steps);
        }
    };
    compare();
    for (int n = 0; n < 64 && !input.rest.empty(); ++n) {
        const std::uint8_t what = input.Byte(), which = input.Byte();
        // Positions from -1 (the root) to one past the last entry, or the same as command ids.
        const int position = which % 0x80 % (all.size() + 2) - 1;
        const int key = (which & 0x80) && position >= 0 ? int(kFirstCommandId) + position : position;
        Entry* entry = position < 0 ? &root : std::size_t(position) < all.size() ? all[position].get() : nullptr;
        steps += std::to_string(what % 5) + "@" + std::to_string(key) + " ";
        switch (what % 5) {
            case 0:
            case 1:
                menu->SetItemVisible(key, what % 5 == 1);
                for (Entry* shown = what % 5 == 1 ? entry : nullptr; shown != nullptr; shown = shown->parent) {
                    shown->shown = true;
                }
                if (what % 5 == 0 && entry != nullptr) entry->shown = false;
                break;
            case 2:
            case 3:
                menu->SetItemChecked(key, what % 5 == 2);
                if (entry != nullptr && entry != &root) entry->checked = what % 5 == 2;
                break;
            case 4:
                // A separator given a text stays a separator only on the newer platforms.
                if (entry == nullptr || entry->separator) break;
                const std::string text = what / 5 % 4 == 0 ? "" : "t" + std::to_string(what);
                menu->SetItemText(key, MakeDisplayText(text));
                if (entry != &root) entry->text = text;
                break;
        }
        compare();
    }
    return 0;
}
