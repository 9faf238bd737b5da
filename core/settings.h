#pragma once
// The Settings file: "<exe path without extension>.ini", lines of key=value that may move the
// option flags of the chooser state away from their start values.
#include <string_view>

#include "core/chooser_state.h"
#include "core/key_value.h"
#include "platform/runtime/string.h"

namespace mvorbel {

// The path with its extension replaced by ".ini"; a dot in a folder name is not an extension.
String SettingsPathFor(std::string_view executablePath);
String SettingsPath();

// Applies one line: only "backup=0", "cancel=0", "shutdown=0", "hibernate=0" and "force=1" act
// (key in any case of A-Z, value exactly), and none of them undoes another.
void ApplySetting(const KeyValue& line, ChooserState& state);

// Reads the file if present. Raises InOutError only when it exists but can't be opened or
// closed; a failed read stops reading, keeping the changes made so far.
void ReadSettings();

}  // namespace mvorbel
