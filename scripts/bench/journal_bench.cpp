// Not a test: how many crash-consistency inputs per second winsim runs. Each input is four
// rewrites of c:\boot.ini as the program does them on the NT family (temporary file, backup copy,
// replace), on a drive C: of a few dozen files, with one call among them failing, and every
// journal step checked for a whole c:\boot.ini, as a fuzzer with fault injection does.
//   cmake --build --preset dev --target bench_journal && build/dev/scripts/bench/bench_journal [seconds [rewrites]]
// With 0 rewrites it measures the preparation of drive C: alone.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win32.h"
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/files/files_control.h"

namespace {

const std::string kOld(600, 'o'), kNew(600, 'n');
const char* const kCalls[] = {"CreateFileA", "WriteFile", "CopyFileA", "SetFileAttributesA", "MoveFileExA"};

void Rewrite() {
    HANDLE file = CreateFileA("C:\\boot.tmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    bool whole = WriteFile(file, kNew.data(), DWORD(kNew.size()), &written, nullptr);
    CloseHandle(file);
    if (!whole || !CopyFileA("C:\\boot.ini", "C:\\boot.old", FALSE)) return;
    SetFileAttributesA("C:\\boot.tmp", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    MoveFileExA("C:\\boot.tmp", "C:\\boot.ini", MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const int rewrites = argc > 2 ? std::atoi(argv[2]) : 4;
    const auto host = std::filesystem::temp_directory_path() / ("mvorbel-bench-" + std::to_string(getpid()));
    long inputs = 0, steps = 0, broken = 0;
    const auto start = std::chrono::steady_clock::now();
    std::chrono::duration<double> spent{};
    while (spent.count() < seconds) {
        winsim::Reset();
        std::filesystem::remove_all(host);
        std::filesystem::create_directories(host / "WINDOWS" / "system32");
        for (int i = 0; i < 40; ++i)
            std::ofstream(host / "WINDOWS" / "system32" / ("f" + std::to_string(i) + ".dll")) << std::string(2000, 'x');
        std::ofstream(host / "boot.ini") << kOld;
        winsim::MapDrive('C', host);
        winsim::FailCall(kCalls[inputs % 5], 1 + inputs / 5 % 4, ERROR_DISK_FULL);
        for (int rewrite = 0; rewrite < rewrites; ++rewrite) Rewrite();
        for (const auto& step : winsim::FileJournal()) {
            const auto* boot = step.Find("C:\\boot.ini");
            broken += boot == nullptr || (boot->content != kOld && boot->content != kNew);
            ++steps;
        }
        ++inputs;
        spent = std::chrono::steady_clock::now() - start;
    }
    winsim::Reset();
    std::filesystem::remove_all(host);
    std::printf("%ld inputs in %.2f s: %.0f inputs/s, %.1f journal steps each, %ld broken steps\n", inputs,
                spent.count(), double(inputs) / spent.count(), double(steps) / double(inputs), broken);
    return broken == 0 ? 0 : 1;
}
