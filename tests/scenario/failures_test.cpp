// Runs that go wrong: no boot.ini, and a boot.ini that can't be opened, which ends in the
// runtime's error box.
#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

// "А вы уверены, что у вас более одной ОС?\r\nФайл c:\boot.ini не обнаружен."
const std::string kNoBootFileNotice =
    "\xC0 \xE2\xFB \xF3\xE2\xE5\xF0\xE5\xED\xFB, \xF7\xF2\xEE \xF3 \xE2\xE0\xF1 "
    "\xE1\xEE\xEB\xE5\xE5 \xEE\xE4\xED\xEE\xE9 \xCE\xD1?\r\n\xD4\xE0\xE9\xEB c:\\boot.ini "
    "\xED\xE5 \xEE\xE1\xED\xE0\xF0\xF3\xE6\xE5\xED.";

TEST_F(Scenario, NoBootIniShowsOneNoticeAndQuits) {
    // A folder of that name is no boot.ini.
    std::filesystem::create_directories(host_ / "c" / "boot.ini");
    PutSettings("force=1\r\n");

    EXPECT_EQ(RunProgram(), 0u);

    const winsim::Request notice = {"MessageBoxW", {"0", Read1251(kNoBootFileNotice), "mVorbel", "0"}};
    EXPECT_EQ(winsim::Requests(), std::vector{notice});
    EXPECT_TRUE(winsim::Trackings().empty());
    EXPECT_FALSE(chooserState.force) << "the Settings file is not read";
}

struct FailingCase {
    const char* name;
    const char* function;
    int nth;              // the nth call fails: counted from the start, or from the choice
    bool afterTheChoice;  // inside the command, from a window procedure
    const char* className;
    const char* message;
};

class Failing : public Scenario, public ::testing::WithParamInterface<FailingCase> {};

TEST_P(Failing, EndsInTheErrorBoxWithExitCode1) {
    const FailingCase& c = GetParam();
    PrepareRoad();
    if (!c.afterTheChoice) winsim::FailCall(c.function, c.nth, ERROR_ACCESS_DENIED);
    winsim::SetTrackScript([&](const winsim::Tracking& tracking) {
        if (c.afterTheChoice) winsim::FailCall(c.function, c.nth, ERROR_ACCESS_DENIED);
        return Choose(Os(kDescription3))(tracking);
    });

    EXPECT_EQ(RunProgram(), 1u);

    ASSERT_EQ(winsim::Requests().size(), 1u) << "no restart after the error";
    winsim::Request box = winsim::Requests()[0];
    const std::string text = std::exchange(box.args.at(1), "");
    const std::string flags = std::to_string(MB_TASKMODAL | MB_ICONERROR);
    EXPECT_EQ(box, (winsim::Request{"MessageBoxA", {"0", "", "Application Error", flags}}));
    EXPECT_TRUE(text.starts_with("Exception " + std::string(c.className) + " in module mvorbel.exe at ")) << text;
    EXPECT_TRUE(text.ends_with("\n" + std::string(c.message))) << text;
    EXPECT_EQ(Content("c/boot.ini"), BootIni(kKey2));
}

// Before the loop, from the chooser run itself; and inside the command, from a window procedure.
// The heap refusing a block is the runtime's own error.
INSTANTIATE_TEST_SUITE_P(
    Scenario, Failing,
    ::testing::Values(
        FailingCase{"BootIniAtTheFirstRead", "CreateFileA", 1, false, "EInOutError", "File access denied."},
        FailingCase{"BootIniForTheRewrite", "CreateFileA", 1, true, "EInOutError", "File access denied."},
        FailingCase{"HeapAtTheFirstObject", "HeapAlloc", 1, false, "EOutOfMemory", "Out of memory."},
        FailingCase{"HeapInTheCommand", "HeapAlloc", 1, true, "EOutOfMemory", "Out of memory."}),
    kCaseName);

}  // namespace
}  // namespace mvorbel::testing
