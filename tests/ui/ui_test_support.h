#pragma once
// What the window and menu tests share: a clean winsim and framework state per test, a form whose
// default processing is recorded, and the Main window as the chooser builds it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32.h"
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/ui/ui_control.h"
#include "ui/menu_object.h"
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel::testing {

// Every message that reached the default processing of a form made by MakeForm.
inline std::vector<UINT> defaultProcessed;

inline LRESULT CALLBACK RecordingBaseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    defaultProcessed.push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        winsim::Reset();
        terminated = false;
        applicationWindow = creatingWindow = nullptr;
        nextCommandId = kFirstCommandId;
        defaultProcessed.clear();
    }
    void TearDown() override {
        applicationWindow = window;
        Terminate(window);
    }
    // Hidden, its platform window not made yet.
    WindowObject* MakeForm() {
        applicationWindow = window = NewForm(nullptr, "mVorbel");
        window->baseWindowProc = RecordingBaseProc;
        window->SetVisible(false);
        return window;
    }
    // As the chooser's start-up builds it: hidden form, empty menu bar, popup as context menu.
    void BuildMainWindow() {
        static const char* const kEmpty[] = {""};
        static const char* const kPopup[] = {"os1", "os2", "os3", "os4", "os5", "-", "hibernate",
                                             "-",   "off", "-",   "cancel", ""};
        winsim::AddIconResource(GetModuleHandleA(nullptr), "MAINICON");
        MakeForm();
        window->SetPosition(205, 98);
        window->SetSize(188, 127);
        menuBar = MenuObject::BuildFromTemplate(window, kEmpty, {});
        popup = MenuObject::BuildFromTemplate(window, kPopup, {});
        window->SetContextMenu(popup);
    }

    WindowObject* window = nullptr;
    MenuObject* menuBar = nullptr;
    MenuObject* popup = nullptr;
};

}  // namespace mvorbel::testing
