// The registry, process and WoW64 calls as the product makes them on the BCD path: the store read
// through the registry, bcdedit started hidden and waited for with a time limit, the WoW64 probe.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

using namespace std::string_literals;

// Looked up at run time, as the product does: Windows 95's advapi32 may lack it.
decltype(&RegQueryValueExW) QueryValue() {
    return reinterpret_cast<decltype(&RegQueryValueExW)>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegQueryValueExW")));
}

// Keys opened with the query right as the product opens them; a value's size asked first, a buffer
// one byte short refused with the size needed, then the data and type as they were stored.
TEST_F(RegistryContract, KeysOpenAndValuesReadAsStored) {
    // A REG_MULTI_SZ ends each text and then the list; a REG_SZ its one text.
    const auto order = Bytes("{11111111-2222-3333-4444-555555555555}\0{ntldr}\0\0"s);
    const auto description = Bytes("Windows 10 Домашняя\0"s);
    PutValue("Objects\\{9dea862c}\\Elements\\24000001", "Element", REG_MULTI_SZ, order);
    PutValue("Objects\\{11111111}\\Elements\\12000004", "Element", REG_SZ, description);
    const auto query = QueryValue();
    ASSERT_NE(nullptr, query) << "error " << GetLastError();
    // Value names are taken in any case.
    const WideText element = Wide("Element"), upper = Wide("ELEMENT"), lower = Wide("element"),
                   absent = Wide("Elements");
    const std::string base = std::string(kScratch) + "\\Objects\\";
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_CURRENT_USER, (base + "{9dea862c}\\Elements\\24000002").c_str(),
                                                  0, KEY_QUERY_VALUE, &key));
    const std::tuple<std::string, DWORD, const std::vector<BYTE>*> rows[] = {
        {"{9dea862c}\\Elements\\24000001", REG_MULTI_SZ, &order},
        {"{11111111}\\ELEMENTS\\12000004", REG_SZ, &description}};
    for (const auto& [path, stored, bytes] : rows) {
        const std::string what = base + path;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, what.c_str(), 0, KEY_QUERY_VALUE, &key)) << what;
        DWORD type = 0, size = 0;
        EXPECT_EQ(ERROR_SUCCESS, query(key, element.c_str(), nullptr, &type, nullptr, &size));
        EXPECT_TRUE(type == stored && size == bytes->size()) << what << ": type " << type << ", size " << size;
        std::vector<BYTE> data(size + 2, 0xCC);
        DWORD shorter = size - 1;
        EXPECT_EQ(ERROR_MORE_DATA, query(key, upper.c_str(), nullptr, &type, data.data(), &shorter)) << what;
        EXPECT_EQ(size, shorter) << what << ": the size needed";
        DWORD room = DWORD(data.size());
        EXPECT_EQ(ERROR_SUCCESS, query(key, lower.c_str(), nullptr, &type, data.data(), &room)) << what;
        data.resize(room);
        EXPECT_TRUE(type == stored && data == *bytes) << what << ": type " << type << ", " << room << " bytes";
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, query(key, absent.c_str(), nullptr, &type, nullptr, &size)) << what;
        EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key)) << what;
    }
}

// A program that is not there is not started; one that ends in time is signalled within the time
// limit, one that does not outlasts it until it is terminated. Each start gives two handles to close.
TEST_F(ProcessContract, AStartedProgramEndsInTimeOrOutlastsTheTimeLimit) {
    PROCESS_INFORMATION ends, hangs;
    ExpectRefusals({{"no such file", [&] { return Start(Path("none.exe"), "", ends); }, ERROR_FILE_NOT_FOUND}});
#ifndef _WIN32
    const std::size_t handlesBefore = winsim::OpenHandleCount();
#endif
    ASSERT_TRUE(Start(child_, "/exit", ends) && Start(child_, "/hang", hangs)) << child_ << ": " << GetLastError();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ends.hProcess, 10000));
    EXPECT_EQ(DWORD{WAIT_TIMEOUT}, WaitForSingleObject(hangs.hProcess, 300));
    EXPECT_TRUE(TerminateProcess(hangs.hProcess, 9)) << "error " << GetLastError();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hangs.hProcess, 10000));
    for (HANDLE handle : {ends.hThread, ends.hProcess, hangs.hThread, hangs.hProcess})
        EXPECT_TRUE(CloseHandle(handle)) << "error " << GetLastError();
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
