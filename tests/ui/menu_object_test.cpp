#include "ui/menu_object.h"

#include <string>

#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

struct Call {
    std::string event;
    MenuObject* root;
    std::int32_t position;
};
std::vector<Call> calls;

void RecordCall(void* data, MenuObject* root, std::int32_t position) {
    calls.push_back({static_cast<const char*>(data), root, position});
}

MenuCommandEvent Named(const char* name) { return {RecordCall, const_cast<char*>(name)}; }

std::vector<std::string> ShownTexts(HMENU menu) {
    std::vector<std::string> texts;
    for (const winsim::MenuLine& line : winsim::ReadMenu(menu)) texts.push_back(line.separator ? "-" : line.text);
    return texts;
}

class MenuObjectTest : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        calls.clear();
        main = testing::BuildMainWindow();
        popup = main.popup;
    }
    void TearDown() override { Terminate(main.window); }
    void Choose(WPARAM wParam, LPARAM lParam = 0) { SendMessageA(main.window->GetHandle(), WM_COMMAND, wParam, lParam); }
    testing::MainWindow main;
    MenuObject* popup = nullptr;
};

TEST_F(MenuObjectTest, MenuBarFirstThenPopupsInTheWindowsChain) {
    EXPECT_EQ(main.window->mainMenu, main.menuBar);
    EXPECT_EQ(main.window->mainMenuHandle, main.menuBar->menuHandle.get());
    EXPECT_EQ(main.menuBar->CountAll(), 0);
    EXPECT_EQ(main.menuBar->nextAttached, popup);
    EXPECT_EQ(popup->ownerWindow, main.window);
    EXPECT_TRUE(main.window->IsHandlerAttached(MenuCommandHandler));
    EXPECT_EQ(ShownTexts(popup->menuHandle.get()),
              (std::vector<std::string>{"os1", "os2", "os3", "os4", "os5", "-", "hibernate", "-", "off", "-", "cancel"}));
}

TEST_F(MenuObjectTest, MenusGoWithAWindowWhosePlatformWindowNeverExisted) {
    ASSERT_EQ(main.window->handle, nullptr);
    Terminate(main.window);
    EXPECT_EQ(winsim::LiveMenuCount(), 0u);
}

TEST_F(MenuObjectTest, IdsFollowTemplateOrderAndKeysArePositionsOrIds) {
    for (int i = 0; i <= 10; ++i) {
        MenuObject* entry = popup->ItemAt(i);
        ASSERT_NE(entry, nullptr) << "position " << i;
        EXPECT_EQ(entry->commandId, main.firstId + i) << "position " << i;
        EXPECT_EQ(popup->PositionOf(entry), i);
        EXPECT_EQ(popup->ItemAt(entry->commandId), entry) << "id " << entry->commandId;
    }
    EXPECT_EQ(popup->ItemAt(11), nullptr);
    EXPECT_EQ(popup->ItemAt(-1), popup);
    EXPECT_EQ(popup->ItemAt(-2), nullptr);
    EXPECT_EQ(popup->PositionOf(main.menuBar), -2);
    EXPECT_EQ(nextCommandId, main.firstId + 11);
}

TEST_F(MenuObjectTest, SubmenusNumberDepthFirst) {
    const char* const tree[] = {"a", "(", "a1", "a2", ")", "b", ""};
    MenuObject* menu = MenuObject::BuildFromTemplate(main.window, tree, {});
    EXPECT_EQ(menu->CountAll(), 4);
    EXPECT_EQ(menu->ItemAt(1)->text, "a1");
    EXPECT_EQ(menu->ItemAt(3)->text, "b");
    EXPECT_EQ(ShownTexts(menu->ItemAt(0)->menuHandle.get()), (std::vector<std::string>{"a1", "a2"}));
    menu->SetItemVisible(1, false);
    EXPECT_EQ(ShownTexts(menu->ItemAt(0)->menuHandle.get()), std::vector<std::string>{"a2"});
}

// Each step hides (negative) or shows (positive) the entry at |step| - 1.
class HideShowTest : public MenuObjectTest, public ::testing::WithParamInterface<std::vector<int>> {};

TEST_P(HideShowTest, AnyOrderKeepsTemplateOrder) {
    std::vector<bool> shown(11, true);
    for (int step : GetParam()) {
        const int position = std::abs(step) - 1;
        popup->SetItemVisible(position, step > 0);
        shown[position] = step > 0;
        std::vector<UINT> expected;
        for (int i = 0; i < 11; ++i) {
            if (shown[i]) expected.push_back(static_cast<UINT>(main.firstId + i));
        }
        std::vector<UINT> ids;
        for (const auto& line : winsim::ReadMenu(popup->menuHandle.get())) ids.push_back(line.id);
        ASSERT_EQ(ids, expected) << "after step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, HideShowTest,
                         ::testing::Values(std::vector<int>{-1, -2, -3, 2, 1, 3}, std::vector<int>{-11, -10, -9, 10, 9, 11},
                                           std::vector<int>{-4, -5, -6, -7, -8, -9, -10, -11, 7, 11, 5, 4},
                                           std::vector<int>{2, -2, -2, 2}));

TEST_F(MenuObjectTest, HiddenEntriesKeepTheirChecksAndTexts) {
    popup->SetItemVisible(1, false);
    popup->SetItemChecked(1, true);
    popup->SetItemText(1, "renamed");
    EXPECT_EQ(popup->ItemAt(1)->cachedState, static_cast<UINT>(MFS_CHECKED));
    popup->SetItemChecked(2, true);
    popup->SetItemVisible(2, false);
    popup->SetItemVisible(1, true);
    popup->SetItemVisible(2, true);
    const auto lines = winsim::ReadMenu(popup->menuHandle.get());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1].text, "renamed");
    EXPECT_TRUE(lines[1].checked);
    EXPECT_EQ(lines[2].text, "os3");
    EXPECT_TRUE(lines[2].checked);
}

TEST_F(MenuObjectTest, ToggleAndRadioEntries) {
    const char* const options[] = {"+Opt", "-!A", "-!B", "-!!C", "-!D", ""};
    MenuObject* menu = MenuObject::BuildFromTemplate(main.window, options, {});
    const std::vector<std::int32_t> groups = {menu->ItemAt(0)->checkGroup, menu->ItemAt(1)->checkGroup,
                                              menu->ItemAt(2)->checkGroup, menu->ItemAt(3)->checkGroup,
                                              menu->ItemAt(4)->checkGroup};
    EXPECT_EQ(groups, (std::vector<std::int32_t>{0, 1, 1, 2, 2}));
    const auto checked = [&](int position) { return winsim::ReadMenu(menu->menuHandle.get())[position].checked; };
    EXPECT_TRUE(checked(0));
    EXPECT_TRUE(winsim::ReadMenu(menu->menuHandle.get())[1].radio);
    Choose(menu->ItemAt(0)->commandId);
    EXPECT_FALSE(checked(0));
    Choose(menu->ItemAt(0)->commandId);
    EXPECT_TRUE(checked(0));
    Choose(menu->ItemAt(1)->commandId);
    Choose(menu->ItemAt(2)->commandId);
    EXPECT_FALSE(checked(1));
    EXPECT_TRUE(checked(2));
    EXPECT_FALSE(checked(3)) << "C is in the next group";
}

TEST_F(MenuObjectTest, CommandsReachTheEntrysEventThenTheRootsThroughTheWindow) {
    const MenuCommandEvent own[] = {Named("own6")};
    popup->SetItemHandlers(6, own);
    const MenuCommandEvent two[] = {Named("own10"), Named("never")};
    popup->SetItemHandlers(10, two);
    EXPECT_EQ(popup->ItemAt(10)->onCommand.data, two[0].data);
    EXPECT_FALSE(popup->ItemAt(7)->onCommand.HasHandler());

    Choose(main.firstId + 3);  // neither event: handled all the same
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(std::find(testing::defaultProcessed.begin(), testing::defaultProcessed.end(),
                          static_cast<UINT>(WM_COMMAND)) == testing::defaultProcessed.end());

    popup->onCommand = Named("root");
    Choose(main.firstId + 6);
    Choose(main.firstId + 3);
    Choose(8);  // below 4096: a position
    Choose(MAKEWPARAM(main.firstId + 10, 1));  // from an accelerator
    Choose(main.firstId + 6, reinterpret_cast<LPARAM>(main.window->GetHandle()));  // a control's: not ours
    Choose(MAKEWPARAM(main.firstId + 6, 2));
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].event, "own6");
    EXPECT_EQ(calls[0].root, popup);
    EXPECT_EQ(calls[0].position, 6);
    EXPECT_EQ(calls[1].event, "root");
    EXPECT_EQ(calls[1].position, 3);
    EXPECT_EQ(calls[2].position, 8);
    EXPECT_EQ(calls[3].event, "own10");
}

TEST_F(MenuObjectTest, ShowPopupAtMovesAHiddenOwnerOutOfSightAndBack) {
    popup->SetItemHandlers(2, std::vector<MenuCommandEvent>{Named("chosen")});
    RECT during = {};
    bool visibleDuring = false;
    winsim::QueueTrackScript([&](const winsim::Tracking& tracking) -> std::optional<UINT> {
        GetWindowRect(tracking.owner, &during);
        visibleDuring = IsWindowVisible(tracking.owner) != FALSE;
        EXPECT_EQ(tracking.foreground, tracking.owner);
        return static_cast<UINT>(main.firstId + 2);
    });
    popup->ShowPopupAt(300, 400);
    ASSERT_EQ(winsim::Trackings().size(), 1u);
    const winsim::Tracking& tracking = winsim::Trackings()[0];
    EXPECT_EQ(tracking.point.x, 300);
    EXPECT_EQ(tracking.point.y, 400);
    EXPECT_EQ(tracking.flags, static_cast<UINT>(TPM_HORNEGANIMATION));
    EXPECT_EQ(tracking.owner, main.window->handle);
    EXPECT_EQ(during.top, 2050);
    EXPECT_EQ(during.bottom - during.top, 127);
    EXPECT_TRUE(visibleDuring);
    EXPECT_FALSE(IsWindowVisible(main.window->handle));
    const RECT after = main.window->GetBoundsRect();
    EXPECT_EQ(after.left, 205);
    EXPECT_EQ(after.top, 98);
    EXPECT_EQ(after.right, 393);
    EXPECT_EQ(after.bottom, 225);
    EXPECT_TRUE(calls.empty()) << "the choice arrives as a posted WM_COMMAND";
    ProcessMessages(main.window);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].position, 2);

    // A visible owner is neither moved nor hidden.
    winsim::QueueTrackScript([](const winsim::Tracking&) -> std::optional<UINT> { return std::nullopt; });
    main.window->SetVisible(true);
    popup->ShowPopupAt(1, 2);
    EXPECT_TRUE(IsWindowVisible(main.window->handle));
    EXPECT_EQ(main.window->GetTop(), 98);
}

}  // namespace
}  // namespace mvorbel
