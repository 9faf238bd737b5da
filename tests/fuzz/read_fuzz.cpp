// boot.ini and the Settings file beside the exe, both holding the input, as the chooser reads
// them: the [operating systems] entries, the default key and the option flags, against the
// text-file and key/value rules.
#include "core/boot_file.h"
#include "core/chooser_state.h"
#include "core/settings.h"
#include "platform/winsim/system/system_control.h"
#include "tests/fuzz/fuzz_support.h"

using namespace mvorbel;
using namespace mvorbel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static DriveC drive;
    drive.Fresh();
    winsim::SetModuleFileName("C:\\mvorbel.exe");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    drive.Put("boot.ini", text);
    drive.Put("mvorbel.ini", text);
    chooserState.SetStartFlags();
    String defaultKey;
    const auto exit = testing::ExitCodeOf([&] {
        ReadOsEntries();
        defaultKey = ReadDefaultKey();
        ReadSettings();
    });
    Check(!exit, "reading files that are there raises nothing", Shown(text));

    // At most five slots, each the line after the first section header as the split makes it.
    const std::vector<std::string> lines = TextLines(text);
    std::size_t next = lines.size();
    for (std::size_t i = 0; i < lines.size() && next == lines.size(); ++i) {
        if (Split(lines[i]).lowerKey == "[operating systems]") next = i + 1;
    }
    for (std::size_t slot = 1; slot <= kOsSlotCount; ++slot, ++next) {
        const Line expected = next < lines.size() ? Split(lines[next]) : Line{};
        const OsEntry& got = chooserState.Slot(int(slot));
        Check(std::string_view(got.key) == expected.key && std::string_view(got.description) == expected.value,
              "each slot is the line after the section header as the split makes it",
              "slot " + std::to_string(slot) + ": key " + Shown(got.key) + " description " +
                  Shown(got.description) + ", expected " + Shown(expected.key) + " " + Shown(expected.value));
    }
    const std::string expectedDefault = DefaultValue(text).value_or("");
    Check(std::string_view(defaultKey) == expectedDefault, "the default key is the first default line's value",
          "got " + Shown(defaultKey) + ", expected " + Shown(expectedDefault));

    // backup, cancel, shutdown, hibernate, force: start values, and what the one acting value of
    // each key sets.
    static const char* const kKeys[] = {"backup", "cancel", "shutdown", "hibernate", "force"};
    std::string expected = "11110";
    for (const std::string& line : lines) {
        const Line split = Split(line);
        for (int i = 0; i < 5; ++i) {
            if (split.lowerKey == kKeys[i] && split.value == (i == 4 ? "1" : "0")) expected[i] = i == 4 ? '1' : '0';
        }
    }
    std::string got;
    for (bool flag : {chooserState.backup, chooserState.cancel, chooserState.shutdown, chooserState.hibernate,
                      chooserState.force}) {
        got += flag ? '1' : '0';
    }
    Check(got == expected, "the flags are what the file's acting lines make of the start values",
          "got " + got + ", expected " + expected + " from " + Shown(text));
    return 0;
}
