#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace {

class SystemModules : public ::testing::Test {
protected:
    void SetUp() override { winsim::Reset(); }
};

TEST_F(SystemModules, ToolHelpFoundThroughKernel32) {
    for (const char* name : {"kernel32.dll", "KERNEL32.DLL", "Kernel32"}) {
        HMODULE kernel = GetModuleHandleA(name);
        ASSERT_NE(kernel, nullptr) << name;
        EXPECT_EQ(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "Process32Next")),
                  reinterpret_cast<void (*)()>(&Process32Next))
            << name;
    }
}

TEST_F(SystemModules, MissingModuleAndEntryPoints) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    winsim::SetProcMissing("KERNEL32.dll", "Process32First");
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(GetProcAddress(kernel, "Process32First"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PROC_NOT_FOUND});
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(GetProcAddress(kernel, "process32next"), nullptr) << "export names keep their case";
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PROC_NOT_FOUND});
    winsim::SetModuleMissing("kernel32.dll");
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(GetModuleHandleA("kernel32.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MOD_NOT_FOUND});
    winsim::Reset();
    EXPECT_NE(GetProcAddress(GetModuleHandleA("kernel32.dll"), "Process32First"), nullptr);
}

TEST_F(SystemModules, ModuleFileNameTruncatesIntoSmallBuffer) {
    winsim::SetModuleFileName("C:\\Tools\\mvorbel.exe");
    char path[MAX_PATH + 1] = {};
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), 20u);
    EXPECT_STREQ(path, "C:\\Tools\\mvorbel.exe");
    EXPECT_EQ(GetModuleHandleA("MVORBEL.EXE"), GetModuleHandleA(nullptr));
    char small[] = ".........";
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, 8), 8u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    EXPECT_STREQ(small, "C:\\Tools.") << "eight characters, no terminator";
}

TEST_F(SystemModules, SystemDirectoryReportsSizeNeeded) {
    winsim::SetSystemDirectory("C:\\WINNT\\system32");
    char buffer[MAX_PATH + 1];
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 17u);
    EXPECT_STREQ(buffer, "C:\\WINNT\\system32");
    char small[17] = "untouched";
    EXPECT_EQ(GetSystemDirectoryA(small, sizeof small), 18u);
    EXPECT_STREQ(small, "untouched");
    winsim::FailCall("GetSystemDirectoryA", 1, ERROR_ACCESS_DENIED);
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
}

TEST_F(SystemModules, CommandLineAsSet) {
    winsim::SetCommandLine("mvorbel.exe  \"a b\"");
    EXPECT_STREQ(GetCommandLineA(), "mvorbel.exe  \"a b\"");
}

}  // namespace
