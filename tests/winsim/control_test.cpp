// winsim's test control where, were it broken, the tests that use it would pass without looking:
// the file journal the crash-consistency tests walk, the differences of the 9x family and of
// older versions (the popup animation), WoW64's folders, a hanging bcdedit and a denied registry
// key. A privilege not held, a box cut short and tracked popups a script must answer as a user
// could are checked beside the contract rows that arrange them (tests/platform).
#include <string>

#include "platform/winsim/system/bcd_control.h"
#include "platform/winsim/ui/ui_control.h"
#include "tests/platform/contract_fixture.h"

namespace winsim_test {
namespace {

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

using Control = contract::FileContract;
using Started = contract::ProcessContract;
using UiControl = contract::UiContract;

TEST_F(Control, JournalRecordsWhatEachChangeOnDriveCLeft) {
    std::filesystem::create_directory(host_ / "C");
    winsim::MapDrive('C', host_ / "C");
    Write("C:\\scratch.txt", "x");
    winsim::ClearFileJournal();
    MakeFile("other.txt", "not on C");  // changes elsewhere than drive C: are not recorded
    Write("C:\\boot.ini", "old");
    ASSERT_TRUE(SetFileAttributesA("C:\\boot.ini", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(CopyFileA(Path("other.txt").c_str(), "C:\\copy.txt", FALSE));
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

// The 9x family has the wide menu calls only as stubs, and tool-help names images by full path.
TEST_F(Control, TheNineXFamilyLacksTheWideMenuCallsAndNamesImagesByPath) {
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    HMENU menu = CreatePopupMenu();
    MENUITEMINFOW wide = {sizeof wide};
    wide.fMask = MIIM_STRING;
    wide.dwTypeData = const_cast<WCHAR*>(u"Отмена");
    contract::ExpectRefusals({
        {"InsertMenuItemW", [&] { return InsertMenuItemW(menu, 0, TRUE, &wide); }, ERROR_CALL_NOT_IMPLEMENTED},
        {"SetMenuItemInfoW", [&] { return SetMenuItemInfoW(menu, 0, TRUE, &wide); }, ERROR_CALL_NOT_IMPLEMENTED},
    });
    winsim::SetProcesses(
        {{200, "Winamp.exe", 0, false, "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE"}, {300, "EXPLORER.EXE"}});
    EXPECT_EQ((std::map<DWORD, std::string>{{200, "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE"},
                                            {300, "C:\\WINDOWS\\EXPLORER.EXE"}}),
              contract::Processes());
}

// Under WoW64 system32 leads to SysWOW64 and Sysnative back to system32, to a bcdedit that may
// hang past the product's time limit; a native process has no Sysnative. Each bcdedit.exe holds
// the name of its folder.
TEST_F(Started, Wow64RedirectsTheSystemFolderAndSysnativeLeadsBackToBcdedit) {
    for (const char* folder : {"system32", "SysWOW64"}) {
        std::filesystem::create_directories(host_ / "WINDOWS" / folder);
        MakeFile(std::string("WINDOWS\\") + folder + "\\bcdedit.exe", folder);
    }
    winsim::SetSystemDirectory(Path("WINDOWS\\system32"));
    winsim::SetVersion(VER_PLATFORM_WIN32_NT, 10, 0);
    const std::tuple<bool, const char*, const char*> rows[] = {
        {false, "Sysnative", "<missing>"}, {true, "SYSTEM32", "SysWOW64"}, {true, "sysnative", "system32"}};
    for (const auto& [wow64, folder, holder] : rows) {
        winsim::SetWow64(wow64);
        EXPECT_EQ(holder, ReadAll(std::string("WINDOWS\\") + folder + "\\bcdedit.exe")) << folder << ", " << wow64;
    }
    winsim::SetBcdedit(winsim::BcdeditMode::Hangs);
    PROCESS_INFORMATION started;
    ASSERT_TRUE(Start(Path("WINDOWS\\Sysnative\\bcdedit.exe"), "/default {a}", started)) << GetLastError();
    EXPECT_EQ(DWORD{WAIT_TIMEOUT}, WaitForSingleObject(started.hProcess, 30000));
    TerminateProcess(started.hProcess, 1);
    for (HANDLE handle : {started.hThread, started.hProcess}) CloseHandle(handle);
}

// The store a process that is not elevated may not open, with what lies below it, made before or
// after it was denied.
TEST_F(Control, ADeniedKeyDeniesWhatLiesBelowIt) {
    winsim::SetRegistryString(winsim::kBcdStoreKey + "\\Objects\\{a}", "Element", "Windows 7");
    winsim::DenyRegistryAccess(winsim::kBcdStoreKey);
    winsim::SetRegistryString(winsim::kBcdStoreKey + "\\Objects\\{b}", "Element", "made after");
    for (const char* path : {"BCD00000000", "bcd00000000\\OBJECTS\\{A}", "BCD00000000\\Objects\\{b}"}) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key)) << path;
    }
}

// 95 and NT 4.0 refuse the animation that 98 and 2000 brought, before they look at anything
// else, and show no menu.
TEST_F(UiControl, TrackPopupMenuRefusesTheAnimationBefore98And2000) {
    constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS, kNt = VER_PLATFORM_WIN32_NT;
    const std::tuple<DWORD, DWORD, DWORD, UINT, bool> rows[] = {
        {k9x, 4, 0, TPM_HORNEGANIMATION, true}, {kNt, 4, 0, TPM_HORNEGANIMATION, true}, {k9x, 4, 0, 0, false},
        {kNt, 4, 0, 0, false}, {k9x, 4, 10, TPM_HORNEGANIMATION, false}, {kNt, 5, 0, TPM_HORNEGANIMATION, false}};
    HMENU menu = CreatePopupMenu();
    MENUITEMINFOA item = {sizeof item};
    item.fMask = MIIM_ID | MIIM_STRING;
    item.dwTypeData = const_cast<char*>("x");
    ASSERT_TRUE(InsertMenuItemA(menu, 0, TRUE, &item));
    HWND owner = Create();
    for (const auto& [platform, major, minor, flags, refused] : rows) {
        winsim::SetVersion(platform, major, minor);
        SCOPED_TRACE(::testing::Message() << platform << ": " << major << "." << minor << ", flags " << flags);
        const std::size_t shown = winsim::Trackings().size();
        if (!refused) winsim::QueueTrackScript([](const winsim::Tracking&) { return std::optional<UINT>(); });
        SetLastError(contract::kSentinel);
        const BOOL done = TrackPopupMenu(refused ? nullptr : menu, flags, 0, 0, 0, owner, nullptr);
        EXPECT_EQ(refused, !done && GetLastError() == ERROR_INVALID_FLAGS) << "error " << GetLastError();
        EXPECT_EQ(refused ? shown : shown + 1, winsim::Trackings().size()) << "menus shown";
    }
    DestroyWindow(owner);
    DestroyMenu(menu);
}

}  // namespace
}  // namespace winsim_test
