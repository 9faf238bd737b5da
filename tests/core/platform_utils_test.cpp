#include "core/platform_utils.h"

#include <utility>

#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel {
namespace {

TEST(CommandLineParameter, RuntimeRules) {
    const struct {
        const char* commandLine;
        int index;
        const char* expected;
    } cases[] = {
        {"mvorbel.exe   \t ", 1, ""},
        {"\"C:\\Program Files\\m.exe\" \"a b\" c", 0, "C:\\Program Files\\m.exe"},
        {"\"C:\\Program Files\\m.exe\" \"a b\" c", 1, "a b"},
        {"\"C:\\Program Files\\m.exe\" \"a b\" c", 2, "c"},
        {"\"C:\\Program Files\\m.exe\" \"a b\" c", 3, ""},
        {"m.exe \"\"\tx", 1, "x"},
        {"m.exe a\"b c\"d e", 1, "a\"b c\"d"},
        {"m.exe \"open to the end", 1, "\"open to the end"},
        {"m.exe \"x\"y\"", 1, "x\"y"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineParameter(c.commandLine, c.index), c.expected) << "[" << c.commandLine << "] #" << c.index;
}

using PlatformUtils = testing::DriveC;

TEST_F(PlatformUtils, ParameterZeroIsTheModulePathUnchanged) {
    winsim::SetModuleFileName("C:\\Dir With Blanks\\MVorbel.EXE");
    winsim::SetCommandLine("mvorbel  \"two words\" ");
    EXPECT_EQ(GetParameter(0), "C:\\Dir With Blanks\\MVorbel.EXE");
    EXPECT_EQ(GetParameter(1), "two words");
    winsim::SetModuleFileName("C:\\" + std::string(300, 'x') + ".exe");
    EXPECT_EQ(GetParameter(0).size(), 261u) << "a too long path fills the buffer";
    winsim::FailCall("GetModuleFileNameA", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(GetParameter(0), "");
}

TEST_F(PlatformUtils, SystemDirectoryEndsInBackslashAndProbesNothingWhenRefused) {
    const std::pair<const char*, const char*> directories[] = {{"C:\\WINDOWS\\system32", "C:\\WINDOWS\\system32\\"},
                                                                {"C:\\", "C:\\"}};
    for (const auto& [set, got] : directories) {
        winsim::SetSystemDirectory(set);
        EXPECT_EQ(SystemDirectory(), got) << set;
    }
    Put("vmmhiber.w9x", "x");
    Put("hiberfil.sys", "x");
    winsim::FailCall("GetSystemDirectoryA", 1, ERROR_ACCESS_DENIED);
    const std::string directory = SystemDirectory();
    EXPECT_EQ(directory.back(), '\\') << directory;
    EXPECT_EQ(FindFileSize(directory + "vmmhiber.w9x"), 0u) << directory;
    EXPECT_EQ(FindFileSize(directory.substr(0, 1) + ":\\hiberfil.sys"), 0u) << directory;
}

TEST_F(PlatformUtils, FileIsPresentOnlyForFilesWithDosTimes) {
    Put("boot.ini", "[boot loader]\r\n");
    std::filesystem::create_directories(host_ / "folder.ini");
    const std::pair<const char*, bool> names[] = {
        {"C:\\BOOT.INI", true}, {"C:\\boot.*", true}, {"C:\\folder.ini", false}, {"C:\\missing.ini", false}};
    for (const auto& [name, present] : names) EXPECT_EQ(FileIsPresent(name), present) << name;
    const struct {
        const char* year;
        FILETIME time;
        bool present;
    } times[] = {{"1979", {1835991040u, 27803510u}, false},
                 {"2003", {3196813312u, 29566928u}, true},
                 {"2108", {2530066432u, 37281833u}, false}};
    for (const auto& c : times) {
        ASSERT_TRUE(winsim::SetLastWriteTime("C:\\boot.ini", c.time));
        EXPECT_EQ(FileIsPresent("C:\\boot.ini"), c.present) << c.year;
    }
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "search left open";
}

// hiberfil.sys is as large as the memory: a multiple of 4 GiB must not read as empty.
TEST_F(PlatformUtils, FindFileSizeTakesBothWords) {
    Put("empty.sys", "");
    Put("three.sys", "abc");
    Put("hiberfil.sys", "");
    std::filesystem::create_directories(host_ / "dir.sys");
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"C:\\empty.sys", 0}, {"C:\\dir.sys", 0}, {"C:\\none.sys", 0}, {"C:\\th?ee.*", 3}};
    for (const auto& [pattern, size] : cases) EXPECT_EQ(FindFileSize(pattern), size) << pattern;
    for (std::uint64_t size : {std::uint64_t{4} << 32, (std::uint64_t{1} << 32) + 5}) {
        ASSERT_TRUE(winsim::SetReportedSize("C:\\hiberfil.sys", size));
        EXPECT_EQ(FindFileSize("C:\\hiberfil.sys"), size);
    }
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "search left open";
}

TEST_F(PlatformUtils, MessageBoxCaptionFollowsApplicationWindow) {
    applicationWindow = nullptr;
    ShowMessageBox("first");
    applicationWindow = NewForm(nullptr, "mVorbel");
    ShowMessageBox("\xD4\xE0\xE9\xEB");  // "Файл"
    ObjectBase::Release(std::exchange(applicationWindow, nullptr));
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{{"MessageBoxA", {"0", "first", "Error", "0"}},
                                                                {"MessageBoxA", {"0", "\xD4\xE0\xE9\xEB", "mVorbel", "0"}}}));
}

}  // namespace
}  // namespace mvorbel
