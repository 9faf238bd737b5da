#include "core/chooser_menu.h"

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

DisplayText OsItemLabel(std::string_view description) {
    String shown;
    for (char c : description) {
        shown += c;
        if (c == '&') shown += '&';
    }
    DisplayText label = ProgramText(kRestartIntoText);
    label += MakeDisplayText(shown);
    return label;
}

void ShowOsEntries(MenuObject* menu) {
    ReadOsEntries();
    chooserState.defaultKey = ReadDefaultKey();
    bool marked = false;
    for (int slot = 1; slot <= kOsSlotCount; ++slot) {
        const OsEntry& entry = chooserState.Slot(slot);
        const int item = slot - 1;
        if (!entry.Used()) {
            menu->SetItemVisible(item, false);
            continue;
        }
        menu->SetItemText(item, OsItemLabel(entry.description));
        menu->SetItemVisible(item, true);
        const bool mark = !marked && entry.key == chooserState.defaultKey;
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
