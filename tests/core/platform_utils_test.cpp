#include "core/platform_utils.h"

#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace {

struct ParameterCase {
    const char* commandLine;
    int index;
    const char* expected;
};

TEST(CommandLineParameter, RuntimeRules) {
    const ParameterCase cases[] = {
        {"mvorbel.exe", 1, ""},
        {"mvorbel.exe   \t ", 1, ""},
        {"\"C:\\Program Files\\m.exe\" \"a b\" c", 0, "C:\\Program Files\\m.exe"},
        {"\"C:\\Program Files\\m.exe\" \"a b\" c", 1, "a b"},
        {"\"C:\\Program Files\\m.exe\" \"a b\" c", 2, "c"},
        {"\"C:\\Program Files\\m.exe\" \"a b\" c", 3, ""},
        {"m.exe \"\" x", 1, "x"},
        {"m.exe\tx", 1, "x"},
        {"m.exe a\"b c\"d e", 1, "a\"b c\"d"},
        {"m.exe \"open to the end", 1, "\"open to the end"},
        {"m.exe \"", 1, "\""},
        {"m.exe \"x\"y\"", 1, "x\"y"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mvorbel::CommandLineParameter(c.commandLine, c.index), c.expected)
            << "[" << c.commandLine << "] #" << c.index;
}

TEST(EnsureTrailingSeparator, AddsOnlyWhenMissing) {
    EXPECT_EQ(mvorbel::EnsureTrailingSeparator("", '\\'), "\\");
    EXPECT_EQ(mvorbel::EnsureTrailingSeparator("C:\\WINDOWS", '\\'), "C:\\WINDOWS\\");
    EXPECT_EQ(mvorbel::EnsureTrailingSeparator("C:\\", '\\'), "C:\\");
    EXPECT_EQ(mvorbel::EnsureTrailingSeparator("a/", '\\'), "a/\\");
}

class PlatformUtils : public mvorbel::testing::DriveC {
protected:
    void Write(const std::string& name, const std::string& content) { Put(name, content); }
    void MakeFolder(const std::string& name) { std::filesystem::create_directories(host_ / name); }
};

TEST_F(PlatformUtils, ParameterZeroIsTheModulePathUnchanged) {
    winsim::SetModuleFileName("C:\\Dir With Blanks\\MVorbel.EXE");
    winsim::SetCommandLine("mvorbel  \"two words\" ");
    EXPECT_EQ(mvorbel::GetParameter(0), "C:\\Dir With Blanks\\MVorbel.EXE");
    EXPECT_EQ(mvorbel::GetParameter(1), "two words");
    EXPECT_EQ(mvorbel::GetParameter(2), "");
    winsim::SetModuleFileName("C:\\" + std::string(300, 'x') + ".exe");
    EXPECT_EQ(mvorbel::GetParameter(0).size(), 261u) << "a too long path fills the buffer";
    winsim::FailCall("GetModuleFileNameA", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(mvorbel::GetParameter(0), "");
}

TEST_F(PlatformUtils, SystemDirectoryEndsInBackslash) {
    winsim::SetSystemDirectory("C:\\WINDOWS\\system32");
    EXPECT_EQ(mvorbel::SystemDirectory(), "C:\\WINDOWS\\system32\\");
    winsim::SetSystemDirectory("C:\\");
    EXPECT_EQ(mvorbel::SystemDirectory(), "C:\\");
}

TEST_F(PlatformUtils, FailedSystemDirectoryProbesNothing) {
    Write("vmmhiber.w9x", "x");
    Write("hiberfil.sys", "x");
    winsim::FailCall("GetSystemDirectoryA", 1, ERROR_ACCESS_DENIED);
    std::string directory = mvorbel::SystemDirectory();
    EXPECT_EQ(directory.back(), '\\') << directory;
    EXPECT_EQ(mvorbel::FindFileSize(directory + "vmmhiber.w9x"), 0u) << directory;
    EXPECT_EQ(mvorbel::FindFileSize(directory.substr(0, 1) + ":\\hiberfil.sys"), 0u) << directory;
}

TEST_F(PlatformUtils, FileIsPresentOnlyForFilesWithDosTimes) {
    Write("boot.ini", "[boot loader]\r\n");
    MakeFolder("folder.ini");
    EXPECT_TRUE(mvorbel::FileIsPresent("C:\\BOOT.INI"));
    EXPECT_TRUE(mvorbel::FileIsPresent("C:\\boot.*"));
    EXPECT_FALSE(mvorbel::FileIsPresent("C:\\folder.ini"));
    EXPECT_FALSE(mvorbel::FileIsPresent("C:\\missing.ini"));
    EXPECT_FALSE(mvorbel::FileIsPresent("C:\\bad|name"));
    struct Case {
        const char* year;
        FILETIME time;
        bool present;
    } cases[] = {{"1979", {1835991040u, 27803510u}, false},
                 {"2003", {3196813312u, 29566928u}, true},
                 {"2108", {2530066432u, 37281833u}, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(winsim::SetLastWriteTime("C:\\boot.ini", c.time));
        EXPECT_EQ(mvorbel::FileIsPresent("C:\\boot.ini"), c.present) << c.year;
    }
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "search left open";
}

TEST_F(PlatformUtils, FindFileSizeTakesBothWords) {
    Write("empty.sys", "");
    Write("three.sys", "abc");
    Write("hiberfil.sys", "");
    MakeFolder("dir.sys");
    EXPECT_EQ(mvorbel::FindFileSize("C:\\empty.sys"), 0u);
    EXPECT_EQ(mvorbel::FindFileSize("C:\\three.sys"), 3u);
    EXPECT_EQ(mvorbel::FindFileSize("C:\\dir.sys"), 0u);
    EXPECT_EQ(mvorbel::FindFileSize("C:\\none.sys"), 0u);
    EXPECT_EQ(mvorbel::FindFileSize("C:\\th?ee.*"), 3u);
    // hiberfil.sys is as large as the memory: exactly 4 GiB must not read as empty.
    ASSERT_TRUE(winsim::SetReportedSize("C:\\hiberfil.sys", std::uint64_t{4} << 32));
    EXPECT_EQ(mvorbel::FindFileSize("C:\\hiberfil.sys"), std::uint64_t{4} << 32);
    ASSERT_TRUE(winsim::SetReportedSize("C:\\hiberfil.sys", (std::uint64_t{1} << 32) + 5));
    EXPECT_EQ(mvorbel::FindFileSize("C:\\hiberfil.sys"), (std::uint64_t{1} << 32) + 5);
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "search left open";
}

TEST_F(PlatformUtils, FindFileSizeOfPatternIsFirstMatch) {
    Write("a.log", "1");
    Write("b.log", "22");
    WIN32_FIND_DATAA first = {};
    HANDLE search = FindFirstFileA("C:\\*.log", &first);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_EQ(mvorbel::FindFileSize("C:\\*.log"), first.nFileSizeLow) << first.cFileName;
}

TEST_F(PlatformUtils, MessageBoxCaptionFollowsApplicationWindow) {
    mvorbel::applicationWindow = nullptr;
    mvorbel::ShowMessageBox("first");
    mvorbel::WindowObject* form = mvorbel::NewForm(nullptr, "mVorbel");
    mvorbel::applicationWindow = form;
    mvorbel::ShowMessageBox("\xD4\xE0\xE9\xEB");  // "Файл"
    mvorbel::applicationWindow = nullptr;
    mvorbel::ObjectBase::Release(form);
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{{"MessageBoxA", {"0", "first", "Error", "0"}},
                                                                {"MessageBoxA", {"0", "\xD4\xE0\xE9\xEB", "mVorbel", "0"}}}));
}

}  // namespace
