// winsim's test control where, were it broken, the tests that use it would pass without looking:
// the file journal the crash-consistency tests walk, a privilege not held, the 9x family's
// differences, a message box cut short, and tracked popups a script must answer as a user could.
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/winsim/ui/ui_control.h"
#include "tests/platform/contract_fixture.h"
#include "tests/support/host_folder.h"

namespace winsim_test {
namespace {

using contract::ExpectRefusals;

class Control : public mvorbel::testing::HostFolderTest {
 protected:
    Control() : HostFolderTest("mvorbel-winsim") {}
    void SetUp() override {
        winsim::Reset();
        for (const char* drive : {"C", "D"}) {
            std::filesystem::create_directories(host_ / drive);
            winsim::MapDrive(drive[0], host_ / drive);
        }
    }
};

// Writes a file through the API, replacing what was there.
void Write(const char* path, const std::string& content) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path << ": " << GetLastError();
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr));
    CloseHandle(file);
}

// Names of what an entry changed, "-" after the removed ones.
std::string Changed(const winsim::JournalEntry& entry) {
    std::string names;
    for (const auto& [key, file] : entry.changes->files) names += key + (file ? " " : "- ");
    return names;
}

TEST_F(Control, JournalRecordsWhatEachChangeOnDriveCLeft) {
    Write("C:\\scratch.txt", "x");
    winsim::ClearFileJournal();
    Write("D:\\other.txt", "not on C");  // changes elsewhere than drive C: are not recorded
    Write("C:\\boot.ini", "old");
    ASSERT_TRUE(SetFileAttributesA("C:\\boot.ini", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(CopyFileA("D:\\other.txt", "C:\\copy.txt", FALSE));
    EXPECT_TRUE(MoveFileExA("C:\\copy.txt", "C:\\boot.ini", MOVEFILE_REPLACE_EXISTING));
    std::filesystem::create_hard_link(host_ / "C" / "boot.ini", host_ / "C" / "link.ini");
    Write("C:\\link.ini", "through the link");

    const auto& journal = winsim::FileJournal();
    std::string calls;
    for (const auto& entry : journal) calls += entry.call + " ";
    ASSERT_EQ("CreateFileA WriteFile SetFileAttributesA CopyFileA MoveFileExA CreateFileA WriteFile ", calls);
    // Each entry holds only what its call changed: every name of a file with hard links.
    const std::pair<int, const char*> changed[] = {
        {0, "C:\\BOOT.INI "}, {4, "C:\\BOOT.INI C:\\COPY.TXT- "}, {6, "C:\\BOOT.INI C:\\LINK.INI "}};
    for (auto [step, names] : changed) EXPECT_EQ(names, Changed(journal[step])) << journal[step].call;
    // The drive after each call, from the changes before it and the drive the first call found.
    EXPECT_EQ("old", journal[1].Find("c:\\BOOT.INI")->content);
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_HIDDEN}, journal[2].Find("C:\\boot.ini")->attributes);
    EXPECT_EQ(nullptr, journal[4].Find("C:\\copy.txt"));
    EXPECT_EQ("x", journal[6].Find("C:\\scratch.txt")->content);
}

TEST_F(Control, APrivilegeNotHeldIsNeverEnabledAndAQuitCutsABoxShort) {
    winsim::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false);
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES wanted = {1};
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &wanted.Privileges[0].Luid));
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    SetLastError(0xDEADBEEF);
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr));
    EXPECT_EQ(DWORD{ERROR_NOT_ALL_ASSIGNED}, GetLastError());
    EXPECT_FALSE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME));

    PostQuitMessage(3);
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "cut short", "T", MB_YESNO));
    EXPECT_EQ(1u, winsim::MessageBoxesCutShort());
}

// The 9x family has the wide menu calls only as stubs, and tool-help names images by full path.
TEST_F(Control, TheNineXFamilyLacksTheWideMenuCallsAndNamesImagesByPath) {
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    HMENU menu = CreatePopupMenu();
    MENUITEMINFOW wide = {sizeof wide};
    wide.fMask = MIIM_STRING;
    wide.dwTypeData = const_cast<WCHAR*>(u"Отмена");
    ExpectRefusals({
        {"InsertMenuItemW", [&] { return InsertMenuItemW(menu, 0, TRUE, &wide); }, ERROR_CALL_NOT_IMPLEMENTED},
        {"SetMenuItemInfoW", [&] { return SetMenuItemInfoW(menu, 0, TRUE, &wide); }, ERROR_CALL_NOT_IMPLEMENTED},
    });
    winsim::SetProcesses({{200, "Winamp.exe", 0, false, "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE"}, {300, "EXPLORER.EXE"}});
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    std::string seen;
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        seen += std::string(entry.szExeFile) + " ";
    EXPECT_EQ("C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE C:\\WINDOWS\\EXPLORER.EXE ", seen);
}

TEST_F(Control, ScriptsChooseOnlyWhatIsOfferedAndAreNeverMissed) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "owner";
    ASSERT_NE(0, RegisterClassA(&wc));
    HWND owner = CreateWindowExA(0, "owner", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HMENU menu = CreatePopupMenu();
    MENUITEMINFOA info = {sizeof info};
    info.fMask = MIIM_ID | MIIM_TYPE;
    info.wID = 4097;
    info.fType = MFT_SEPARATOR;
    ASSERT_TRUE(InsertMenuItemA(menu, 0, TRUE, &info));
    for (UINT id : {4097u, 5000u}) {
        winsim::QueueTrackScript([id](const winsim::Tracking&) { return std::optional<UINT>(id); });
        EXPECT_THROW(TrackPopupMenu(menu, 0, 0, 0, 0, owner, nullptr), std::invalid_argument) << "id " << id;
    }
    EXPECT_THROW(TrackPopupMenu(menu, 0, 0, 0, 0, owner, nullptr), winsim::Hang) << "no script";
}

}  // namespace
}  // namespace winsim_test
