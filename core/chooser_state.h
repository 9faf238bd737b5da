#pragma once
// The one process-wide record the chooser's parts share: what boot.ini said, where the menu
// opens, and the option flags that the Settings file may move away from their start values.
#include <array>
#include <cstdint>

#include "platform/runtime/string.h"

namespace mvorbel {

struct OsEntry {
    String key;          // boot.ini: the line's text before its first "="; the store: the GUID
    String description;  // boot.ini: the text after that "=", as in the file
    WideString wideDescription;  // the store's description, UTF-16 as it holds it
    bool Used() const { return !key.empty(); }
};

inline constexpr int kOsSlotCount = 5;

// Where the entries come from: c:\boot.ini for the NT loader (Windows 95 to XP), the BCD store
// for the Windows Boot Manager (Vista and later).
enum class BootSource : std::uint8_t { kBootIni, kBcdStore };

struct ChooserState {
    BootSource source = BootSource::kBootIni;
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
