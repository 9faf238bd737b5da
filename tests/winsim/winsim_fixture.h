#pragma once
// The fixture of winsim's control tests: a fresh winsim whose drives C: and D: lead to empty host
// folders, and refusals checked as the contract tests check them.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "platform/win32.h"
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/files/files_control.h"
#include "tests/support/temp_folder.h"

namespace winsim_test {

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

    // Each call fails (gives false) and leaves its error code over a sentinel.
    using Refusal = std::tuple<const char*, std::function<bool()>, DWORD>;
    static void ExpectRefusals(std::initializer_list<Refusal> refusals) {
        for (const auto& [what, call, error] : refusals) {
            SetLastError(0xDEADBEEF);
            EXPECT_FALSE(call()) << what;
            EXPECT_EQ(error, GetLastError()) << what;
        }
    }

    mvorbel::testing::TempFolder folder_{"mvorbel-winsim"};
    const std::filesystem::path host_ = folder_.Path();
};

}  // namespace winsim_test
