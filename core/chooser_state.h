#pragma once
// The one process-wide record the chooser's parts share: what boot.ini said, where the menu
// opens, and the option flags that the Settings file may move away from their start values.
#include <array>
#include <cstdint>

#include "platform/runtime/string.h"

namespace mvorbel {

struct OsEntry {
    String key;          // text of the entry line before its first "=", as in the file
    String description;  // text after that "=", as in the file
    bool Used() const { return !key.empty(); }
};

inline constexpr int kOsSlotCount = 5;

struct ChooserState {
    // Slots 1..5; use Slot(n) to address them by their number.
    std::array<OsEntry, kOsSlotCount> osEntries;
    String defaultKey;
    std::int32_t cursorX = 0;
    std::int32_t cursorY = 0;
    bool backup = false;
    bool cancel = false;
    bool shutdown = false;
    bool hibernate = false;
    bool force = false;

    OsEntry& Slot(int number) { return osEntries[number - 1]; }
    const OsEntry& Slot(int number) const { return osEntries[number - 1]; }

    // The values a chooser run starts from, before the Settings file is read.
    void SetStartFlags() {
        backup = cancel = shutdown = hibernate = true;
        force = false;
    }
};

// Zero, empty and false at process start.
extern ChooserState chooserState;

}  // namespace mvorbel
