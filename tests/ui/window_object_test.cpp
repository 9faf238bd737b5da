#include "ui/window_object.h"

#include <array>
#include <string>

#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

std::string seen;  // "1" for each message a handler was asked about, "?" where the object had no handle yet

bool Recorder(WindowObject* window, MSG&, LRESULT*) {
    seen += window->handle != nullptr ? '1' : '?';
    return false;
}

using WindowObjectTest = testing::UiTest;

TEST_F(WindowObjectTest, MainWindowIsCreatedAsTheChooserNeedsItAndItsFirstMessageFindsIt) {
    BuildMainWindow();
    seen.clear();
    window->AttachHandler(Recorder);
    const auto info = winsim::DescribeWindow(window->GetHandle());
    EXPECT_TRUE(!seen.empty() && seen.find('?') == std::string::npos) << "at creation: " << seen;
    WNDCLASSA registered = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_Form", &registered) && info);
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info->className, "obj_Form");
    EXPECT_EQ(static_cast<DWORD>(info->created.style), 0x06CF0000u);
    EXPECT_EQ(info->created.dwExStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT));
    EXPECT_EQ((std::array{info->created.x, info->created.y, info->created.cx, info->created.cy}),
              (std::array{205, 98, 188, 127}));
    EXPECT_EQ(info->created.hMenu, menuBar->menuHandle.get());
    EXPECT_EQ(info->bigIcon, LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));
}

}  // namespace
}  // namespace mvorbel
