#include "core/platform_utils.h"

#include "core/chooser_menu.h"
#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

using PlatformUtils = testing::DriveC;

// On NT the file is on the system drive, not always C:; the 9x file is in the system directory,
// which already ends in a backslash. Without a system directory nothing is probed.
TEST_F(PlatformUtils, SystemDirectoryEndsInBackslashAndProbesNothingWhenRefused) {
    EXPECT_EQ(HibernationProbePath("D:\\WINNT\\system32\\", false), "d:\\hiberfil.sys");
    EXPECT_EQ(HibernationProbePath("C:\\Windows\\System\\", true), "c:\\windows\\system\\\\vmmhiber.w9x");
    for (const char* directory : {"C:\\WINDOWS\\system32", "C:\\WINDOWS\\system32\\"}) {
        winsim::SetSystemDirectory(directory);
        EXPECT_EQ(SystemDirectory(), "C:\\WINDOWS\\system32\\") << directory;
    }
    Put("vmmhiber.w9x", "x");
    Put("hiberfil.sys", "x");
    winsim::FailCall("GetSystemDirectoryA", 1, ERROR_ACCESS_DENIED);
    const std::string refused(SystemDirectory());
    for (bool win9x : {true, false})
        EXPECT_EQ(FindFileSize(HibernationProbePath(refused, win9x).c_str()), 0u) << refused;
}

// A boot.ini last written in 1979 or in 2108 has no DOS time: it is not there. A hiberfil.sys as
// large as the memory, a multiple of 4 GiB, must not read as empty.
TEST_F(PlatformUtils, FilesWithoutDosTimesAreNotThereAndSizesTakeBothWords) {
    Put("boot.ini", "[boot loader]\r\n");
    EXPECT_TRUE(FileIsPresent("C:\\BOOT.INI"));
    for (FILETIME time : {FILETIME{1835991040u, 27803510u}, FILETIME{2530066432u, 37281833u}}) {
        ASSERT_TRUE(winsim::SetLastWriteTime("C:\\boot.ini", time));
        EXPECT_FALSE(FileIsPresent("C:\\boot.ini")) << time.dwHighDateTime;
    }
    Put("hiberfil.sys", "");
    for (std::uint64_t size : {std::uint64_t{4} << 32, (std::uint64_t{1} << 32) + 5}) {
        ASSERT_TRUE(winsim::SetReportedSize("C:\\hiberfil.sys", size));
        EXPECT_EQ(FindFileSize("C:\\hiberfil.sys"), size);
    }
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "search left open";
}

}  // namespace
}  // namespace mvorbel
