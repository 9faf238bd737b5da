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

std::string SettingsPathFor(const std::string& executablePath) {
    std::size_t last = executablePath.find_last_of(".\\:");
    std::string path = executablePath;
    if (last != std::string::npos && executablePath[last] == '.') path.erase(last);
    return path + ".ini";
}

std::string SettingsPath() { return SettingsPathFor(GetParameter(0)); }

void ApplySetting(const KeyValue& line, ChooserState& state) {
    const std::string key = LowerAscii(line.key);
    for (const auto& setting : kSettingKeys) {
        if (key == setting.key && line.value == setting.actingValue) {
            state.*setting.flag = setting.setTo;
            return;
        }
    }
}

void ReadSettings() {
    const std::string path = SettingsPath();
    if (!FileIsPresent(path)) return;
    TextReader file(path);
    try {
        do {
            ApplySetting(SplitKeyValue(file.ReadLine()), chooserState);
        } while (!file.AtEnd());
    } catch (const InOutError&) {
        // A file that can't be read to its end still configures what it said before that.
    }
    file.Close();
}

}  // namespace mvorbel
