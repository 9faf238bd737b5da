#pragma once
// Drive C: of winsim on a fresh host folder per test, the chooser state at its start values.
#include "platform/win32.h"
#include "platform/winsim/files/files_control.h"
#include "tests/support/host_folder.h"
#include "tests/support/process.h"

namespace mvorbel::testing {

class DriveC : public HostFolderTest {
 protected:
    DriveC() : HostFolderTest("mvorbel-core") {}
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
        HostFolderTest::Put(name, content);
        EXPECT_TRUE(attributes == 0 || SetFileAttributesA(("C:\\" + name).c_str(), attributes));
    }
    DWORD Attributes(const std::string& name) const { return GetFileAttributesA(("C:\\" + name).c_str()); }
};

}  // namespace mvorbel::testing
