#pragma once
// Drive C: of winsim on a fresh host folder per test, the chooser state at its start values.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32.h"
#include "platform/winsim/files/files_control.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"

namespace mvorbel::testing {

class DriveC : public ::testing::Test {
 protected:
    void SetUp() override { Fresh(); }
    void TearDown() override { StartProcess(); }
    // A new run on an empty drive C:, for tests that loop over cases.
    void Fresh() {
        StartProcess();
        folder_.Empty();
        winsim::MapDrive('C', host_);
        chooserState.SetStartFlags();
    }

    // A file put from the host side, then given the attributes (0: as made).
    void Put(const std::string& name, const std::string& content, DWORD attributes = 0) {
        std::ofstream(host_ / name, std::ios::binary) << content;
        EXPECT_TRUE(attributes == 0 || SetFileAttributesA(("C:\\" + name).c_str(), attributes));
    }
    std::string Content(const std::string& name) const {
        std::ifstream file(host_ / name, std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        return file ? content.str() : "<missing>";
    }
    DWORD Attributes(const std::string& name) const {
        return GetFileAttributesA(("C:\\" + name).c_str());
    }

    TempFolder folder_{"mvorbel-core"};
    const std::filesystem::path host_ = folder_.Path();
};

}  // namespace mvorbel::testing
