#include "core/chooser_menu.h"

#include "core/bcd_store.h"
#include "core/boot_file.h"
#include "core/chooser_state.h"
#include "core/key_value.h"
#include "core/windows1251.h"

namespace mvorbel {

namespace {
// "Перевести в спящий режим" (hibernate)
constexpr const char* kHibernateText = "\xCF\xE5\xF0\xE5\xE2\xE5\xF1\xF2\xE8 \xE2 \xF1\xEF\xFF\xF9\xE8\xE9 \xF0\xE5\xE6\xE8\xEC";
// "Выключить компьютер" (turn the computer off)
constexpr const char* kTurnOffText = "\xC2\xFB\xEA\xEB\xFE\xF7\xE8\xF2\xFC \xEA\xEE\xEC\xEF\xFC\xFE\xF2\xE5\xF0";
// "Отмена" (cancel)
constexpr const char* kCancelText = "\xCE\xF2\xEC\xE5\xED\xE0";
}  // namespace

const char* const kMenuTemplate[kMenuTemplateLastIndex + 1] = {
    kRestartIntoText, kRestartIntoText, kRestartIntoText, kRestartIntoText, kRestartIntoText,
    "-", kHibernateText, "-", kTurnOffText, "-", kCancelText, "",
};

namespace {

// The platform takes a single "&" as an accelerator prefix and would hide it.
template <class Char>
BasicString<Char> ShownAsWritten(std::basic_string_view<Char> text) {
    BasicString<Char> shown;
    for (Char c : text) {
        shown += c;
        if (c == '&') shown += c;
    }
    return shown;
}

}  // namespace

DisplayText OsItemLabel(std::string_view description) {
    DisplayText label = ProgramText(kRestartIntoText);
    label += MakeDisplayText(ShownAsWritten(description));
    return label;
}

DisplayText StoreItemLabel(const OsEntry& entry) {
    DisplayText label = ProgramText(kRestartIntoText);
    label += ProgramText("\"");
    const DisplayText guid = MakeDisplayText(entry.key);
    if (entry.wideDescription.empty()) {
        label += guid;
    } else {
        // The store is only read on the NT family, which shows the wide form; the single-byte
        // form names the entry by its GUID.
        label += DisplayText{guid.bytes, ShownAsWritten(entry.wideDescription.View())};
    }
    label += ProgramText("\"");
    return label;
}

StoreRead ReadBootEntries() {
    if (chooserState.source == BootSource::kBcdStore) return ReadBcdStore();
    ReadOsEntries();
    chooserState.defaultKey = ReadDefaultKey();
    return StoreRead::kRead;
}

void ShowOsEntries(MenuObject* menu) {
    const bool store = chooserState.source == BootSource::kBcdStore;
    bool marked = false;
    for (int slot = 1; slot <= kOsSlotCount; ++slot) {
        const OsEntry& entry = chooserState.Slot(slot);
        const int item = slot - 1;
        if (!entry.Used()) {
            menu->SetItemVisible(item, false);
            continue;
        }
        menu->SetItemText(item, store ? StoreItemLabel(entry) : OsItemLabel(entry.description));
        menu->SetItemVisible(item, true);
        const bool named = store ? SameGuid(entry.key, chooserState.defaultKey) : entry.key == chooserState.defaultKey;
        const bool mark = !marked && named;
        menu->SetItemChecked(item, mark);
        marked = marked || mark;
    }
}

String HibernationProbePath(std::string_view systemDirectory, bool win9xFamily) {
    const String lowered = LowerAscii(systemDirectory);
    if (win9xFamily) return lowered + "\\vmmhiber.w9x";
    return Slice(lowered, 0, 1) + ":\\hiberfil.sys";
}

}  // namespace mvorbel
