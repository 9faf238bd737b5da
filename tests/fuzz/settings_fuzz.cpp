// The Settings file beside the exe: the option flags against the rules, whatever the file holds.
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
    drive.Put("mvorbel.ini", text);
    chooserState.SetStartFlags();
    Check(!testing::ExitCodeOf(ReadSettings), "reading a Settings file that is there raises nothing", Shown(text));

    // backup, cancel, shutdown, hibernate, force: start values, and what the one acting value of
    // each key sets.
    static const char* const kKeys[] = {"backup", "cancel", "shutdown", "hibernate", "force"};
    std::string expected = "11110";
    for (const std::string& line : TextLines(text)) {
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
