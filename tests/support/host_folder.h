#pragma once
// A test whose drives map to a fresh host folder of its own: files put and read back from the
// host side, so that what the program wrote is seen as the disk holds it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/temp_folder.h"

namespace mvorbel::testing {

class HostFolderTest : public ::testing::Test {
 protected:
    explicit HostFolderTest(const std::string& prefix) : folder_(prefix) {}

    // Under the host folder, in a folder that exists: "c/boot.ini".
    void Put(const std::string& name, const std::string& content) const {
        std::ofstream(host_ / name, std::ios::binary) << content;
    }
    std::string Content(const std::string& name) const {
        std::ifstream file(host_ / name, std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        return file ? content.str() : "<missing>";
    }

    TempFolder folder_;
    const std::filesystem::path host_ = folder_.Path();
};

}  // namespace mvorbel::testing
