#include <cstring>

#include "tests/platform/system_contract.h"

namespace contract {
namespace {

using SystemPathsContract = SystemContract;

TEST_F(SystemPathsContract, ModuleFileNameIsTheFullExePath) {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_EQ(length, std::strlen(path));
    std::string text = path;
    ASSERT_GT(text.size(), 7u);
    EXPECT_EQ(text[1], ':') << text;
    EXPECT_EQ(text.substr(text.size() - 4), ".exe") << text;
    EXPECT_EQ(GetModuleHandleA(OwnImageName().c_str()), GetModuleHandleA(nullptr));
}

TEST_F(SystemPathsContract, ModuleFileNameTruncatesIntoSmallBuffer) {
    char full[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, full, sizeof full);
    char small[6];
    std::memset(small, 'x', sizeof small);
    SetLastError(kSentinel);
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), DWORD{sizeof small});
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    // Not terminated: the buffer holds the path's first characters only.
    EXPECT_EQ(std::string(small, sizeof small), std::string(full, sizeof small));
}

TEST_F(SystemPathsContract, CommandLineStartsWithTheProgram) {
    const char* commandLine = GetCommandLineA();
    ASSERT_NE(commandLine, nullptr);
    std::string image = OwnImageName();
    std::string stem = image.substr(0, image.rfind('.'));
    EXPECT_NE(std::string(commandLine).find(stem), std::string::npos) << commandLine;
}

TEST_F(SystemPathsContract, SystemDirectoryReportsLengthOrSizeNeeded) {
    char directory[MAX_PATH + 1] = {};
    UINT length = GetSystemDirectoryA(directory, sizeof directory);
    ASSERT_GT(length, 3u);
    EXPECT_EQ(length, std::strlen(directory));
    EXPECT_NE(directory[length - 1], '\\') << directory;
    char exact[MAX_PATH + 1];
    std::memset(exact, 'x', sizeof exact);
    EXPECT_EQ(GetSystemDirectoryA(exact, length), length + 1) << "no room for the terminator";
    EXPECT_EQ(GetSystemDirectoryA(exact, length + 1), length);
    EXPECT_STREQ(exact, directory);
}

}  // namespace
}  // namespace contract
