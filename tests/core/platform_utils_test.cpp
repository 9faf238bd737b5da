#include "core/platform_utils.h"

#include "core/chooser_menu.h"
#include "core/windows1251.h"
#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"
#include "ui/message_loop.h"

namespace mvorbel {
namespace {

TEST(CommandLineParameter, RuntimeRules) {
    const std::string quoted = "\"C:\\Program Files\\m.exe\" \"a b\" c";
    const struct {
        std::string commandLine;
        int index;
        const char* expected;
    } cases[] = {
        {"mvorbel.exe   \t ", 1, ""}, {quoted, 1, "a b"}, {quoted, 2, "c"},
        {"m.exe \"\"\tx", 1, "x"}, {"m.exe a\"b c\"d e", 1, "a\"b c\"d"},
        {"m.exe \"open to the end", 1, "\"open to the end"}, {"m.exe \"x\"y\"", 1, "x\"y"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandLineParameter(c.commandLine, c.index), c.expected)
            << "[" << c.commandLine << "] #" << c.index;
    }
}

using PlatformUtils = testing::DriveC;

TEST_F(PlatformUtils, ParameterZeroIsTheModulePathUnchanged) {
    winsim::SetModuleFileName("C:\\Dir With Blanks\\MVorbel.EXE");
    winsim::SetCommandLine("mvorbel  \"two words\" ");
    EXPECT_EQ(GetParameter(0), "C:\\Dir With Blanks\\MVorbel.EXE");
    EXPECT_EQ(GetParameter(1), "two words");
    winsim::SetModuleFileName("C:\\" + std::string(300, 'x') + ".exe");
    EXPECT_EQ(GetParameter(0).size(), 261u) << "a too long path fills the buffer";
}

// winsim's table is the one the contract tests hold against Windows' (Wine's).
TEST(WideFromWindows1251, ReadsEveryByteAsWindowsDoes) {
    winsim::Reset();
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
    EXPECT_EQ(std::u16string(WideFromWindows1251(all).View()), winsim::FromCodePage(1251, all));
    EXPECT_EQ(ProgramText(all).bytes, all);
}

// On NT the file is on the system drive, not always C:; the 9x file is in the system directory,
// which already ends in a backslash. Without a system directory nothing is probed.
TEST_F(PlatformUtils, SystemDirectoryEndsInBackslashAndProbesNothingWhenRefused) {
    EXPECT_EQ(HibernationProbePath("D:\\WINNT\\system32\\", false), "d:\\hiberfil.sys");
    EXPECT_EQ(HibernationProbePath("C:\\Windows\\System\\", true), "c:\\windows\\system\\\\vmmhiber.w9x");
    for (const char* directory : {"C:\\WINDOWS\\system32", "C:\\WINDOWS\\system32\\"}) {
        winsim::SetSystemDirectory(directory);
        EXPECT_EQ(SystemDirectory(), "C:\\WINDOWS\\system32\\") << directory;
    }
    Put("vmmhiber.w9x", "x");
    Put("hiberfil.sys", "x");
    winsim::FailCall("GetSystemDirectoryA", 1, ERROR_ACCESS_DENIED);
    const std::string refused(SystemDirectory());
    for (bool win9x : {true, false})
        EXPECT_EQ(FindFileSize(HibernationProbePath(refused, win9x).c_str()), 0u) << refused;
}

TEST_F(PlatformUtils, FileIsPresentOnlyForFilesWithDosTimes) {
    Put("boot.ini", "[boot loader]\r\n");
    std::filesystem::create_directories(host_ / "folder.ini");
    EXPECT_TRUE(FileIsPresent("C:\\BOOT.INI"));
    EXPECT_FALSE(FileIsPresent("C:\\folder.ini"));
    EXPECT_FALSE(FileIsPresent("C:\\missing.ini"));
    // Last written in 1979 and in 2108.
    for (FILETIME time : {FILETIME{1835991040u, 27803510u}, FILETIME{2530066432u, 37281833u}}) {
        ASSERT_TRUE(winsim::SetLastWriteTime("C:\\boot.ini", time));
        EXPECT_FALSE(FileIsPresent("C:\\boot.ini")) << time.dwHighDateTime;
    }
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "search left open";
}

// hiberfil.sys is as large as the memory: a multiple of 4 GiB must not read as empty.
TEST_F(PlatformUtils, FindFileSizeTakesBothWords) {
    Put("empty.sys", "");
    Put("three.sys", "abc");
    std::filesystem::create_directories(host_ / "dir.sys");
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"C:\\empty.sys", 0}, {"C:\\dir.sys", 0}, {"C:\\none.sys", 0}, {"C:\\th?ee.*", 3}};
    for (const auto& [pattern, size] : cases) EXPECT_EQ(FindFileSize(pattern), size) << pattern;
    for (std::uint64_t size : {std::uint64_t{4} << 32, (std::uint64_t{1} << 32) + 5}) {
        ASSERT_TRUE(winsim::SetReportedSize("C:\\empty.sys", size));
        EXPECT_EQ(FindFileSize("C:\\empty.sys"), size);
    }
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "search left open";
}

// The chooser's own boxes take the Main window's caption; before there is one, the platform's.
// On a Western system the NT family shows the text as written (MessageBoxW, recorded in UTF-8);
// the 9x family shows the bytes in the system's letters (MessageBoxA, recorded as given).
TEST_F(PlatformUtils, MessageBoxWithoutApplicationWindowHasThePlatformsCaption) {
    applicationWindow = nullptr;
    winsim::SetAnsiCodePage(1252);
    ShowMessageBox(ProgramText("\xCE\xF2\xEC\xE5\xED\xE0"));
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    ShowMessageBox(ProgramText("\xCE\xF2\xEC\xE5\xED\xE0"));
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{
                                      {"MessageBoxW", {"0", "Отмена", "Error", "0"}},
                                      {"MessageBoxA", {"0", "\xCE\xF2\xEC\xE5\xED\xE0", "Error", "0"}}}));
}

}  // namespace
}  // namespace mvorbel
