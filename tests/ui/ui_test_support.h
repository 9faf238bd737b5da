#pragma once
// What the window and menu tests share: a clean winsim and framework state per test, the Main
// window as the chooser builds it, and a base window procedure that records default processing.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32.h"
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/ui/ui_control.h"
#include "ui/menu_object.h"
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel::testing {

// Every message that reached default processing of a window whose base procedure is this one.
inline std::vector<UINT> defaultProcessed;

inline LRESULT CALLBACK RecordingBaseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    defaultProcessed.push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

inline const char* const kEmptyTemplate[] = {""};
inline const char* const kPopupTemplate[] = {"os1", "os2", "os3", "os4", "os5", "-", "hibernate",
                                             "-",   "off", "-",   "cancel", ""};

struct MainWindow {
    WindowObject* window = nullptr;
    MenuObject* menuBar = nullptr;
    MenuObject* popup = nullptr;
    std::int32_t firstId = 0;  // the id of the popup's entry 0
};

// As the chooser's start-up builds it: hidden form, empty menu bar, popup as context menu.
inline MainWindow BuildMainWindow() {
    MainWindow main;
    main.window = NewForm(nullptr, "mVorbel");
    applicationWindow = main.window;
    main.window->SetPosition(205, 98);
    main.window->SetSize(188, 127);
    main.window->SetVisible(false);
    main.menuBar = MenuObject::BuildFromTemplate(main.window, kEmptyTemplate, {});
    main.firstId = nextCommandId;
    main.popup = MenuObject::BuildFromTemplate(main.window, kPopupTemplate, {});
    main.popup->trackFlags = TPM_HORNEGANIMATION;
    main.window->SetContextMenu(main.popup);
    return main;
}

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        winsim::Reset();
        terminated = false;
        applicationWindow = nullptr;
        creatingWindow = nullptr;
        defaultProcessed.clear();
    }
};

}  // namespace mvorbel::testing
