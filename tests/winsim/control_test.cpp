// winsim's test control where, were it broken, the tests that use it would pass without looking:
// the file journal the crash-consistency tests walk, the differences of the 9x family and of
// older versions (the popup flags each refuses), what only winsim can play of the registry, WoW64
// and a started bcdedit, and the versions from Vista on. A privilege not held, a box cut short
// and tracked popups a script must answer as a user could are checked beside the contract rows
// that arrange them (tests/platform).
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
using UiControl = contract::UiContract;
using contract::messageLog;

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

TEST_F(Control, VersionsFromVistaOnReportTheirReleaseBuildAndEndACutModuleNameInTheBuffer) {
    const struct {
        DWORD major, minor, build;
        bool terminates;
    } rows[] = {{5, 1, 2600, false}, {6, 0, 6000, true}, {6, 1, 7600, true}, {10, 0, 10240, true}};
    for (const auto& row : rows) {
        winsim::SetVersion(VER_PLATFORM_WIN32_NT, row.major, row.minor);
        OSVERSIONINFOA info = {sizeof info};
        EXPECT_TRUE(GetVersionExA(&info) && info.dwBuildNumber == row.build) << row.major << "." << row.minor
                                                                             << ": build " << info.dwBuildNumber;
        char name[8];
        SetLastError(contract::kSentinel);
        EXPECT_EQ(8u, GetModuleFileNameA(nullptr, name, sizeof name)) << row.major << "." << row.minor;
        EXPECT_EQ(DWORD{ERROR_INSUFFICIENT_BUFFER}, GetLastError());
        EXPECT_EQ(row.terminates ? '\0' : 'r', name[7]) << row.major << "." << row.minor;
    }
}

// A key the process may not open, with what lies below it, made before or after; a key removed
// while its handle is open; a handle opened without the query right; the stub of the 9x family.
TEST_F(Control, RegistryKeysDeniedRemovedOrOpenedWithoutTheQueryRight) {
    const std::string store = "HKLM\\BCD00000000\\Objects";
    winsim::SetRegistryString(store + "\\{a}\\Elements\\12000004", "Element", "Windows 7");
    HKEY held = nullptr;
    const char* description = "BCD00000000\\Objects\\{a}\\Elements\\12000004";
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, description, 0, KEY_QUERY_VALUE, &held));
    winsim::DenyRegistryAccess(store);
    winsim::SetRegistryString(store + "\\{b}\\Elements\\12000004", "Element", "made after");
    const std::pair<const char*, LONG> opens[] = {
        {"BCD00000000", ERROR_SUCCESS},
        {"bcd00000000\\OBJECTS", ERROR_ACCESS_DENIED},
        {"BCD00000000\\Objects\\{A}\\Elements\\12000004", ERROR_ACCESS_DENIED},
        {"BCD00000000\\Objects\\{b}\\Elements", ERROR_ACCESS_DENIED},
        {"BCD00000000\\Objects\\{c}", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& [path, expected] : opens) {
        HKEY key = nullptr;
        EXPECT_EQ(expected, RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key)) << path;
        EXPECT_TRUE(expected == ERROR_SUCCESS ? RegCloseKey(key) == ERROR_SUCCESS : key == nullptr) << path;
    }
    EXPECT_EQ(1u, winsim::OpenHandleCount()) << "the key held open counts as a handle";

    const contract::WideText element = contract::Wide("Element");
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(held, element.c_str(), nullptr, nullptr, nullptr, &size))
        << "a handle keeps the access it was given";
    winsim::RemoveRegistryKey("HKEY_LOCAL_MACHINE\\bcd00000000");
    EXPECT_FALSE(winsim::RegistryKeyExists(store));
    EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExW(held, element.c_str(), nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(held));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(held));
    EXPECT_EQ(0u, winsim::OpenHandleCount());

    winsim::SetRegistryMultiString("HKCU\\Order", "Element", {"{a}", "Домашняя"});
    EXPECT_EQ((std::vector<std::string>{"{a}", "Домашняя"}),
              winsim::ReadRegistryMultiString("hkcu\\ORDER", "element"));
    HKEY listing = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Order", 0, KEY_ENUMERATE_SUB_KEYS, &listing));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExW(listing, element.c_str(), nullptr, nullptr, nullptr, &size));
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 0);
    EXPECT_EQ(ERROR_CALL_NOT_IMPLEMENTED,
              RegQueryValueExW(HKEY_CURRENT_USER, nullptr, nullptr, nullptr, nullptr, &size));
    RegCloseKey(listing);
}

// The system directory T:\WINDOWS\system32, with a SysWOW64 beside it; each file tells which
// folder holds it.
class SystemFolders : public contract::ProcessContract {
 protected:
    void SetUp() override {
        ProcessContract::SetUp();
        for (const char* folder : {"system32", "SysWOW64"}) {
            std::filesystem::create_directories(host_ / "WINDOWS" / folder / "drivers" / "etc");
            std::filesystem::create_directories(host_ / "WINDOWS" / folder / "DriverStore");
            for (const char* file : {"bcdedit.exe", "drivers\\etc\\hosts", "DriverStore\\setup.log"})
                MakeFile(std::string("WINDOWS\\") + folder + "\\" + file, folder);
        }
        winsim::SetSystemDirectory(Path("WINDOWS\\system32"));
    }
};

TEST_F(SystemFolders, Wow64RedirectsTheSystemFolderButItsExemptionsAndSysnativeLeadsBack) {
    const struct {
        DWORD major, minor;
        bool wow64;
        const char* file;
        const char* holder;  // "<missing>" when the path leads nowhere
    } rows[] = {
        {10, 0, false, "system32\\bcdedit.exe", "system32"},
        {10, 0, false, "Sysnative\\bcdedit.exe", "<missing>"},
        {10, 0, true, "SYSTEM32\\bcdedit.exe", "SysWOW64"},
        {10, 0, true, "Sysnative\\..\\system32\\bcdedit.exe", "SysWOW64"},
        {10, 0, true, "sysnative\\bcdedit.exe", "system32"},
        {10, 0, true, "system32\\drivers\\etc\\hosts", "system32"},
        {6, 1, true, "system32\\DriverStore\\setup.log", "system32"},
        {6, 0, true, "system32\\DriverStore\\setup.log", "SysWOW64"},
        {5, 2, true, "Sysnative\\bcdedit.exe", "<missing>"},
    };
    for (const auto& row : rows) {
        winsim::SetVersion(VER_PLATFORM_WIN32_NT, row.major, row.minor);
        winsim::SetWow64(row.wow64);
        EXPECT_EQ(row.holder, ReadAll(std::string("WINDOWS\\") + row.file))
            << row.major << "." << row.minor << (row.wow64 ? " under WoW64: " : ": ") << row.file;
        BOOL wow64 = !row.wow64;
        EXPECT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64) && wow64 == BOOL{row.wow64});
    }
}

// Windows 10's bcdedit, as each mode plays it, started as the product starts it; every run on the
// same store, whose default is A.
TEST_F(SystemFolders, BcdeditChangesTheStoreAsItsModeSays) {
    const std::string a = "{aaaaaaaa-0000-0000-0000-000000000001}", b = "{bbbbbbbb-0000-0000-0000-000000000002}",
                      c = "{cccccccc-0000-0000-0000-000000000003}";
    using Mode = winsim::BcdeditMode;
    const struct {
        Mode mode;
        std::string arguments;
        std::optional<DWORD> exitCode;  // nothing: it hangs
        std::string defaultAfter;
        std::vector<std::string> sequenceAfter;
        const char* folder = "system32";
        bool denied = false;
    } rows[] = {
        {Mode::Succeeds, "/default " + b, 0, b, {}},
        {Mode::Succeeds, "/DEFAULT {BBBBBBBB-0000-0000-0000-000000000002}", 0, b, {}},
        {Mode::Succeeds, "/bootsequence " + c, 0, a, {c}},
        {Mode::Succeeds, "/bootsequence " + c, 0, a, {c}, "Sysnative"},
        {Mode::Succeeds, "/default {dddddddd-0000-0000-0000-000000000004}", 1, a, {}},
        {Mode::Succeeds, "/default {ntldr}", 1, a, {}},
        {Mode::Succeeds, "/default", 1, a, {}},
        {Mode::Succeeds, "/default " + b + " " + c, 1, a, {}},
        {Mode::Succeeds, "/set " + b + " description x", 1, a, {}},
        {Mode::Succeeds, "/default " + b, 1, a, {}, "system32", true},
        {Mode::Fails, "/default " + b, 1, a, {}},
        {Mode::Hangs, "/bootsequence " + b, std::nullopt, a, {}},
        {Mode::ChangesNothing, "/default " + b, 0, a, {}},
    };
    winsim::SetVersion(VER_PLATFORM_WIN32_NT, 10, 0);
    winsim::SetWow64(true);
    for (const auto& row : rows) {
        const std::string what = row.arguments + " (mode " + std::to_string(int(row.mode)) + ", " + row.folder + ")";
        winsim::SetBcdStore({{{a, "Windows 10"}, {b, "Windows 7"}, {c, ""}}, {a, b, c}, a});
        if (row.denied) winsim::DenyRegistryAccess(winsim::kBcdStoreKey);
        winsim::SetBcdedit(row.mode);
        PROCESS_INFORMATION started;
        const std::string image = Path(std::string("WINDOWS\\") + row.folder + "\\bcdedit.exe");
        ASSERT_TRUE(Start(image, row.arguments, started)) << what << ": error " << GetLastError();
        EXPECT_EQ(row.exitCode ? WAIT_OBJECT_0 : WAIT_TIMEOUT, WaitForSingleObject(started.hProcess, 30000)) << what;
        DWORD code = 0;
        GetExitCodeProcess(started.hProcess, &code);
        EXPECT_EQ(row.exitCode.value_or(STILL_ACTIVE), code) << what;
        EXPECT_EQ(row.defaultAfter, winsim::BcdDefault().value_or("<none>")) << what;
        EXPECT_EQ(row.sequenceAfter, winsim::BcdBootSequence()) << what;
        EXPECT_EQ(row.exitCode ? 0u : 1u, contract::Processes().count(started.dwProcessId)) << what << ": running";
        if (!row.exitCode) {
            EXPECT_THROW(WaitForSingleObject(started.hThread, INFINITE), winsim::Hang) << what;
            TerminateProcess(started.hProcess, 1);
        }
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    const winsim::Request last = winsim::Requests().back();
    EXPECT_EQ((winsim::Request{"CreateProcessA", {Path("WINDOWS\\system32\\bcdedit.exe"),
                                                  "\"" + Path("WINDOWS\\system32\\bcdedit.exe") + "\" /default " + b,
                                                  std::to_string(CREATE_NO_WINDOW), std::to_string(SW_HIDE)}}),
              last);
    PROCESS_INFORMATION unscripted;
    MakeFile("other.exe", "MZ");
    EXPECT_THROW(Start(Path("other.exe"), "", unscripted), winsim::NoBehaviour);
}

// Each version refuses the popup flags it does not know, before it looks at anything else, and
// no menu shows: 95 and NT 4.0 the animation that 98 and 2000 brought, 2000 XP's right-to-left
// layout, XP 7's work area; 0x200 no version knows.
TEST_F(UiControl, TrackPopupMenuRefusesTheFlagsItsVersionLacks) {
    constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS, kNt = VER_PLATFORM_WIN32_NT;
    constexpr UINT kOld = TPM_RIGHTBUTTON | TPM_CENTERALIGN | TPM_BOTTOMALIGN | TPM_VERTICAL | TPM_NONOTIFY;
    const std::tuple<DWORD, DWORD, DWORD, UINT, bool> rows[] = {
        {k9x, 4, 0, kOld, false},           {k9x, 4, 0, TPM_HORNEGANIMATION, true},
        {k9x, 4, 10, TPM_HORNEGANIMATION, false}, {kNt, 4, 0, TPM_HORNEGANIMATION, true},
        {kNt, 4, 0, kOld, false},           {kNt, 5, 0, TPM_HORNEGANIMATION | TPM_RECURSE, false},
        {kNt, 5, 0, TPM_LAYOUTRTL, true},   {kNt, 5, 1, TPM_LAYOUTRTL, false},
        {kNt, 5, 1, TPM_WORKAREA, true},    {kNt, 6, 1, TPM_WORKAREA, false},
        {kNt, 6, 1, 0x200, true},
    };
    HMENU menu = CreatePopupMenu();
    MENUITEMINFOA item = {sizeof item};
    item.fMask = MIIM_ID | MIIM_STRING;
    item.wID = 4096;
    item.dwTypeData = const_cast<char*>("x");
    ASSERT_TRUE(InsertMenuItemA(menu, 0, TRUE, &item));
    HWND owner = Create();
    for (const auto& [platform, major, minor, flags, refused] : rows) {
        winsim::SetVersion(platform, major, minor);
        const std::string what = std::to_string(platform) + ": " + std::to_string(major) + "." +
                                 std::to_string(minor) + ", flags " + std::to_string(flags);
        const std::size_t shown = winsim::Trackings().size();
        if (!refused) winsim::QueueTrackScript([](const winsim::Tracking&) { return std::optional<UINT>(); });
        messageLog.clear();
        SetLastError(contract::kSentinel);
        const BOOL done = TrackPopupMenu(menu, flags, 0, 0, 0, owner, nullptr);
        EXPECT_EQ(refused, !done && GetLastError() == ERROR_INVALID_FLAGS) << what << ", error " << GetLastError();
        EXPECT_EQ(refused ? shown : shown + 1, winsim::Trackings().size()) << what;
        EXPECT_EQ(refused || (flags & TPM_NONOTIFY), messageLog.empty()) << what << ": messages to the owner";
    }
    // Nor are the menu and the owner looked at first.
    SetLastError(contract::kSentinel);
    winsim::SetVersion(kNt, 4, 0);
    EXPECT_FALSE(TrackPopupMenu(nullptr, TPM_HORNEGANIMATION, 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(DWORD{ERROR_INVALID_FLAGS}, GetLastError());
    DestroyWindow(owner);
    DestroyMenu(menu);
}

}  // namespace
}  // namespace winsim_test
