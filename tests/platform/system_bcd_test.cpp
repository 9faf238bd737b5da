// The registry, process and WoW64 calls as the product makes them on the BCD path: the store read
// through the registry, bcdedit started hidden and waited for with a time limit, the WoW64 probe.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

// Looked up at run time, as the product does: Windows 95's advapi32 may lack it.
decltype(&RegQueryValueExW) QueryValue() {
    return reinterpret_cast<decltype(&RegQueryValueExW)>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegQueryValueExW")));
}

// Keys opened with the query right as the product opens them; a value's size asked first, a buffer
// one byte short refused with the size needed, then the data and type as they were stored.
TEST_F(RegistryContract, KeysOpenAndValuesReadAsStored) {
    const auto order = StringData({"{11111111-2222-3333-4444-555555555555}", "{ntldr}"}, true);
    const auto description = StringData({"Windows 10 Домашняя"}, false);
    PutValue("Objects\\{9dea862c}\\Elements\\24000001", "Element", REG_MULTI_SZ, order);
    PutValue("Objects\\{11111111}\\Elements\\12000004", "Element", REG_SZ, description);
    const auto query = QueryValue();
    ASSERT_NE(nullptr, query) << "error " << GetLastError();
    // Value names are taken in any case.
    const WideText element = Wide("Element"), upper = Wide("ELEMENT"), lower = Wide("element"),
                   absent = Wide("Elements");

    const std::string base = std::string(kScratch) + "\\Objects\\";
    const struct {
        std::string key;
        LONG opened;
        DWORD type;
        const std::vector<BYTE>* data;
    } rows[] = {
        {base + "{9dea862c}\\Elements\\24000001", ERROR_SUCCESS, REG_MULTI_SZ, &order},
        {base + "{11111111}\\ELEMENTS\\12000004", ERROR_SUCCESS, REG_SZ, &description},
        {base + "{9dea862c}\\Elements\\24000002", ERROR_FILE_NOT_FOUND, 0, nullptr},
        {base + "{22222222}\\Elements\\12000004", ERROR_FILE_NOT_FOUND, 0, nullptr},
    };
    for (const auto& row : rows) {
        HKEY key = nullptr;
        EXPECT_EQ(row.opened, RegOpenKeyExA(HKEY_CURRENT_USER, row.key.c_str(), 0, KEY_QUERY_VALUE, &key)) << row.key;
        if (row.opened != ERROR_SUCCESS) continue;
        DWORD type = 0, size = 0;
        EXPECT_EQ(ERROR_SUCCESS, query(key, element.c_str(), nullptr, &type, nullptr, &size));
        EXPECT_TRUE(type == row.type && size == row.data->size()) << row.key << ": type " << type << ", size " << size;
        std::vector<BYTE> data(size + 2, 0xCC);
        DWORD shorter = size - 1;
        EXPECT_EQ(ERROR_MORE_DATA, query(key, upper.c_str(), nullptr, &type, data.data(), &shorter)) << row.key;
        EXPECT_EQ(size, shorter) << row.key << ": the size needed";
        DWORD room = DWORD(data.size());
        EXPECT_EQ(ERROR_SUCCESS, query(key, lower.c_str(), nullptr, &type, data.data(), &room)) << row.key;
        data.resize(room);
        EXPECT_TRUE(type == row.type && data == *row.data) << row.key << ": type " << type << ", " << room << " bytes";
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, query(key, absent.c_str(), nullptr, &type, nullptr, &size)) << row.key;
        EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key)) << row.key;
        EXPECT_EQ(ERROR_INVALID_HANDLE, query(key, element.c_str(), nullptr, &type, nullptr, &size)) << "a closed key";
    }
}

// A program that is not there: its file or its folder missing.
TEST_F(ProcessContract, AMissingProgramIsNotStarted) {
    PROCESS_INFORMATION started;
    ExpectRefusals({
        {"no such file", [&] { return Start(Path("no-such-program.exe"), "/exit 0", started); }, ERROR_FILE_NOT_FOUND},
        {"no such folder", [&] { return Start(Path("no-such-folder\\bcdedit.exe"), "/exit 0", started); },
         ERROR_PATH_NOT_FOUND},
    });
}

// A program that ends in time gives its exit code; one that does not is still running when the
// time limit is up, until it is terminated. Each start gives two handles to close.
TEST_F(ProcessContract, AStartedProgramEndsWithItsCodeOrOutlastsTheTimeLimit) {
#ifndef _WIN32
    const std::size_t handlesBefore = winsim::OpenHandleCount();
#endif
    PROCESS_INFORMATION ends, hangs;
    ASSERT_TRUE(Start(child_, "/exit 7", ends)) << child_ << ": error " << GetLastError();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ends.hProcess, 10000));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(ends.hProcess, &code) && code == 7) << "exit code " << code;

    ASSERT_TRUE(Start(child_, "/hang", hangs)) << child_ << ": error " << GetLastError();
    EXPECT_EQ(DWORD{WAIT_TIMEOUT}, WaitForSingleObject(hangs.hProcess, 300));
    EXPECT_TRUE(GetExitCodeProcess(hangs.hProcess, &code) && code == STILL_ACTIVE) << "exit code " << code;
    EXPECT_EQ("contract_child.exe", Processes()[hangs.dwProcessId]) << "it runs";
    EXPECT_TRUE(TerminateProcess(hangs.hProcess, 9)) << "error " << GetLastError();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hangs.hProcess, 10000));
    EXPECT_TRUE(GetExitCodeProcess(hangs.hProcess, &code) && code == 9) << "exit code " << code;
    EXPECT_EQ(0u, Processes().count(hangs.dwProcessId)) << "it has ended";

    for (HANDLE handle : {ends.hThread, ends.hProcess, hangs.hThread, hangs.hProcess})
        EXPECT_TRUE(CloseHandle(handle)) << "error " << GetLastError();
    ExpectRefusals({{"a closed handle", [&] { return WaitForSingleObject(ends.hProcess, 0) != WAIT_FAILED; },
                     ERROR_INVALID_HANDLE}});
#ifndef _WIN32
    EXPECT_EQ(handlesBefore, winsim::OpenHandleCount()) << "handles left open";
    const std::vector<winsim::ProcessWait> waits = {{ends.dwProcessId, 10000, WAIT_OBJECT_0},
                                                    {hangs.dwProcessId, 300, WAIT_TIMEOUT},
                                                    {hangs.dwProcessId, 10000, WAIT_OBJECT_0}};
    EXPECT_EQ(waits, winsim::ProcessWaits()) << "the time limits asked for";
#endif
}

// The product looks IsWow64Process up, as Windows before XP SP2 lacks it; this test program is a
// native 64-bit one.
TEST_F(Contract, IsWow64ProcessIsThereAndSaysNoForANativeProgram) {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64 = reinterpret_cast<IsWow64>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    ASSERT_NE(nullptr, isWow64) << "error " << GetLastError();
    BOOL wow64 = TRUE;
    EXPECT_TRUE(isWow64(GetCurrentProcess(), &wow64)) << "error " << GetLastError();
    EXPECT_FALSE(wow64);
}

}  // namespace
}  // namespace contract
