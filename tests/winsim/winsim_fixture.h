#pragma once
// The fixture of winsim's control tests: a fresh winsim whose drives C: and D: lead to empty host
// folders; refusals are checked as the contract tests check them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/platform/contract_fixture.h"

namespace winsim_test {

using contract::ExpectRefusals;

class Winsim : public ::testing::Test {
 protected:
    void SetUp() override {
        winsim::Reset();
        std::filesystem::create_directories(host_ / "c");
        std::filesystem::create_directories(host_ / "d");
        winsim::MapDrive('c', host_ / "c");  // letters in either case
        winsim::MapDrive('D', host_ / "d");
    }
    void TearDown() override { winsim::Reset(); }

    // Writes a file through the API, replacing what was there.
    static void Put(const char* path, const std::string& content) {
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << path << ": " << GetLastError();
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr));
        CloseHandle(file);
    }

    mvorbel::testing::TempFolder folder_{"mvorbel-winsim"};
    const std::filesystem::path host_ = folder_.Path();
};

}  // namespace winsim_test
