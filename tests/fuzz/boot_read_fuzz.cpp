// boot.ini as the chooser reads it: the [operating systems] entries and the default key, against
// the text-file and key/value rules.
#include "core/boot_file.h"
#include "core/chooser_state.h"
#include "tests/fuzz/fuzz_support.h"

using namespace mvorbel;
using namespace mvorbel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static DriveC drive;
    drive.Fresh();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    drive.Put("boot.ini", text);

    String defaultKey;
    const auto exit = testing::ExitCodeOf([&] {
        ReadOsEntries();
        defaultKey = ReadDefaultKey();
    });
    Check(!exit, "reading a file that is there raises nothing");

    const std::vector<std::string> lines = TextLines(text);
    std::vector<Line> entries;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Lower(Split(lines[i]).key) != "[operating systems]") continue;
        for (std::size_t k = i + 1; k < lines.size() && entries.size() < kOsSlotCount; ++k) {
            entries.push_back(Split(lines[k]));
        }
        break;
    }
    for (int slot = 1; slot <= kOsSlotCount; ++slot) {
        const Line expected = std::size_t(slot) <= entries.size() ? entries[slot - 1] : Line{};
        const OsEntry& got = chooserState.Slot(slot);
        Check(std::string_view(got.key) == expected.key && std::string_view(got.description) == expected.value,
              "each slot is the line after the section header as the split makes it",
              "slot " + std::to_string(slot) + ": key " + Shown(got.key) + " description " +
                  Shown(got.description) + ", expected " + Shown(expected.key) + " " + Shown(expected.value));
    }

    std::string expectedDefault;
    for (const std::string& line : lines) {
        if (Line split = Split(line); Lower(split.key) == "default") {
            expectedDefault = split.value;
            break;
        }
    }
    Check(std::string_view(defaultKey) == expectedDefault, "the default key is the first default line's value",
          "got " + Shown(defaultKey) + ", expected " + Shown(expectedDefault));
    return 0;
}
