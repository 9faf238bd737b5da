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
    Check(!exit, "reading a file that is there raises nothing", Shown(text));

    // At most five slots, each the line after the first section header as the split makes it.
    const std::vector<std::string> lines = TextLines(text);
    for (int slot = 1; slot <= kOsSlotCount; ++slot) {
        const std::optional<std::size_t> line = SlotLine(lines, slot);
        const Line expected = line ? Split(lines[*line]) : Line{};
        const OsEntry& got = chooserState.Slot(slot);
        Check(std::string_view(got.key) == expected.key && std::string_view(got.description) == expected.value,
              "each slot is the line after the section header as the split makes it",
              "slot " + std::to_string(slot) + ": key " + Shown(got.key) + " description " +
                  Shown(got.description) + ", expected " + Shown(expected.key) + " " + Shown(expected.value));
    }
    const std::string expectedDefault = DefaultKey(text).value_or("");
    Check(std::string_view(defaultKey) == expectedDefault, "the default key is the first default line's, up to a line feed",
          "got " + Shown(defaultKey) + ", expected " + Shown(expectedDefault));
    return 0;
}
