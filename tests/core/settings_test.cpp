#include "core/settings.h"

#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

TEST(SettingsPath, ReplacesOnlyTheFileNamesExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\my.tools\\mvorbel", "C:\\my.tools\\mvorbel.ini"},
        {"C:\\a\\b.c.EXE", "C:\\a\\b.c.ini"}, {"C:mvorbel", "C:mvorbel.ini"},
    };
    for (const auto& [exe, ini] : cases) EXPECT_EQ(SettingsPathFor(exe), ini) << exe;
}

using Settings = testing::DriveC;

TEST_F(Settings, OnlyOpeningOrClosingAFileThatIsThereRaises) {
    // The module's path, blanks and all: never the command line's first word.
    std::filesystem::create_directories(host_ / "my tools");
    winsim::SetModuleFileName("C:\\my tools\\mvorbel");
    winsim::SetCommandLine("mvorbel");
    Put("my tools/mvorbel.ini", "backup=0\r\n");
    HANDLE writer = CreateFileA("C:\\my tools\\mvorbel.ini", GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ("I/O error 32.", testing::Raised(ReadSettings));
    CloseHandle(writer);

    Put("my tools/mvorbel.ini", "cancel=0\r\n" + std::string(9000, 'x') + "\r\nbackup=0\r\n");
    winsim::FailCall("ReadFile", 2, ERROR_READ_FAULT);
    EXPECT_EQ("", testing::Raised(ReadSettings));
    EXPECT_EQ(std::pair(true, false), std::pair(chooserState.backup, chooserState.cancel)) << "earlier lines act";
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "file left open";

    winsim::FailCall("CloseHandle", 1, ERROR_ACCESS_DENIED);
    EXPECT_EQ("File access denied.", testing::Raised(ReadSettings));
}

}  // namespace
}  // namespace mvorbel
