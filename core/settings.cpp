#include "core/settings.h"

#include "core/io_error.h"
#include "core/platform_utils.h"
#include "core/text_file.h"

namespace mvorbel {
namespace {

struct SettingKey {
    const char* key;
    const char* actingValue;
    bool ChooserState::*flag;
    bool setTo;
};

// In the order the keys are tested. "shutdown" governs the hibernate item and "hibernate" the
// turn-off item: the flags are named after the keys, not after the items.
constexpr SettingKey kSettingKeys[] = {
    {"backup", "0", &ChooserState::backup, false},
    {"cancel", "0", &ChooserState::cancel, false},
    {"shutdown", "0", &ChooserState::shutdown, false},
    {"hibernate", "0", &ChooserState::hibernate, false},
    {"force", "1", &ChooserState::force, true},
};

}  // namespace

String SettingsPathFor(std::string_view executablePath) {
    const std::size_t last = executablePath.find_last_of(".\\:");
    if (last != std::string_view::npos && executablePath[last] == '.') executablePath = Slice(executablePath, 0, last);
    return executablePath + ".ini";
}

String SettingsPath() { return SettingsPathFor(GetParameter(0)); }

void ApplySetting(const KeyValue& line, ChooserState& state) {
    const String key = LowerAscii(line.key);
    for (const auto& setting : kSettingKeys) {
        if (key == setting.key && line.value == setting.actingValue) {
            state.*setting.flag = setting.setTo;
            return;
        }
    }
}

void ReadSettings() {
    const String path = SettingsPath();
    if (!FileIsPresent(path.c_str())) return;
    TextReader file(path.c_str());
    RaiseIfFailed(file.Failure());
    // A file that can't be read to its end still configures what it said before that: a failed
    // read ends the loop, and only the close may raise.
    do {
        const String line = file.ReadLine();
        if (file.Failure().raised) break;
        ApplySetting(SplitKeyValue(line), chooserState);
    } while (!file.AtEnd());
    RaiseIfFailed(file.Close());
}

}  // namespace mvorbel
