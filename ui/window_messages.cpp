// From the platform's message to the object: EntryWindowProc finds the object, WindowProc offers
// the message to the attached handlers, then to the built-in cases and default processing.
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel {

namespace {

// Messages the framework passes on to the control they concern, at a private number.
constexpr UINT kReflectOffset = 0xBC00;
constexpr UINT kControlCommand = 0xB005;
// Private message of the original library and the MCI notification: neither means anything here.
constexpr UINT kIgnoredPrivateMessage = 0x8FFF;
#ifndef MM_MCINOTIFY
constexpr UINT MM_MCINOTIFY = 0x03B9;
#endif

WindowObject* ObjectOf(HWND hwnd) { return static_cast<WindowObject*>(GetPropA(hwnd, kSelfProperty)); }

bool KeyDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

LRESULT CALLBACK EntryWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG record = {};
    record.hwnd = hwnd;
    record.message = message;
    record.wParam = wParam;
    record.lParam = lParam;
    if (hwnd != nullptr && creatingWindow != nullptr) {
        WindowObject* window = creatingWindow;
        window->handle = hwnd;
        SetPropA(hwnd, kSelfProperty, window);
        creatingWindow = nullptr;
        return window->WindowProc(record);
    }
    if (hwnd != nullptr) {
        if (WindowObject* window = ObjectOf(hwnd); window != nullptr) return window->WindowProc(record);
    }
    // Messages that come after the property is gone still have somewhere to go.
    if (applicationWindow != nullptr) return applicationWindow->WindowProc(record);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT WindowObject::WindowProc(MSG& message) {
    if (handlers->count > 0 && useCount >= 0) {
        LRESULT result = 0;
        bool handled = false;
        // A handler may release the window; the hold keeps it alive until the walk is over.
        Hold();
        for (int i = handlers->count - 2; i >= 0 && !handled; i -= 2) {
            const ObjectList::Value data = handlers->At(i + 1);
            if (terminated && data == 0) continue;
            handled = FromValue<MessageHandler>(handlers->At(i))(this, message, &result);
        }
        const bool releasedDuringWalk = !handled && useCount == 1;
        Unhold();
        if (handled || releasedDuringWalk) return result;
    }
    return BuiltInProcessing(message);
}

LRESULT WindowObject::BuiltInProcessing(MSG& message) {
    switch (message.message) {
        case WM_CLOSE:
            if (!IsMainWindow() && this != applicationWindow) return DefaultProcessing(message);
            if (applicationWindow != nullptr && applicationWindow != this) {
                applicationWindow->SendMessageToSelf(WM_CLOSE, 0, 0);
            }
            // Closing never destroys the window: the run ends, and Terminate releases it.
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            RemovePropA(handle, kSelfProperty);
            return DefaultProcessing(message);
        case WM_SHOWWINDOW:
            if (message.lParam == SW_PARENTCLOSING) {
                savedShowCommand = IsIconic(handle) ? SW_SHOWMINNOACTIVE
                                   : IsZoomed(handle) ? SW_SHOWMAXIMIZED
                                                      : SW_SHOWNOACTIVATE;
                return DefaultProcessing(message);
            }
            if (message.lParam == SW_PARENTOPENING) {
                if (savedShowCommand != 0) {
                    ShowWindow(handle, savedShowCommand);
                    savedShowCommand = 0;
                }
                return 0;
            }
            return DefaultProcessing(message);
        case WM_SYSCOMMAND:
            if ((message.wParam & 0xFFF0) == SC_MINIMIZE && IsMainWindow() && applicationWindow != nullptr &&
                applicationWindow != this) {
                PostMessageA(applicationWindow->handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                return 0;
            }
            return DefaultProcessing(message);
        case WM_SETFOCUS:
            return FocusIfPossible() ? DefaultProcessing(message) : 0;
        case WM_SETCURSOR:
            if (GetCapture() == nullptr && LOWORD(message.lParam) == HTCLIENT) {
                SetCursor(cursor);
                return 1;
            }
            return DefaultProcessing(message);
        case WM_COMMAND:
            // Menu commands carry no window; a control's command goes back to its own object.
            if (message.lParam != 0 && ObjectOf(reinterpret_cast<HWND>(message.lParam)) != nullptr) {
                return SendMessageA(reinterpret_cast<HWND>(message.lParam), kControlCommand, message.wParam,
                                    message.lParam);
            }
            return DefaultProcessing(message);
        case kIgnoredPrivateMessage:
        case MM_MCINOTIFY:
            return 0;
        default:
            break;
    }
    if (message.message >= WM_CTLCOLORMSGBOX && message.message <= WM_CTLCOLORSTATIC) {
        return SendMessageA(reinterpret_cast<HWND>(message.lParam), message.message + kReflectOffset, message.wParam,
                            message.lParam);
    }
    if (message.message >= WM_KEYDOWN && message.message <= 0x108) return KeyboardProcessing(message);
    return DefaultProcessing(message);
}

LRESULT WindowObject::KeyboardProcessing(MSG& message) {
    const HWND focus = GetFocus();
    if (focus != nullptr && focus != handle) return 0;
    if (KeyDown(VK_CONTROL) || KeyDown(VK_MENU)) return DefaultProcessing(message);
    if (message.message == WM_CHAR && message.wParam == '\t') {
        // Tab would beep in a window without dialog navigation.
        message.wParam = 0;
        return 0;
    }
    return DefaultProcessing(message);
}

LRESULT WindowObject::DefaultProcessing(const MSG& message) {
    if (baseWindowProc != nullptr) {
        return CallWindowProcA(baseWindowProc, handle, message.message, message.wParam, message.lParam);
    }
    return DefWindowProcA(message.hwnd, message.message, message.wParam, message.lParam);
}

}  // namespace mvorbel
