#include "ui/message_loop.h"

#include <utility>

#include "ui/window_object.h"

namespace mvorbel {

WindowObject* applicationWindow = nullptr;
bool terminated = false;

bool ProcessMessage(WindowObject* /*window*/) {
    MSG message = {};
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) {
        // Taken off the queue here, the quit message is gone for good: whoever pumps next only
        // sees `terminated`.
        terminated = true;
    } else {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.message != WM_NULL;
}

void ProcessMessages(WindowObject* window) {
    while (ProcessMessage(window)) {
    }
}

void Run(WindowObject*& window) {
    applicationWindow = window;
    window->CreateHandle();
    while (!terminated) {
        WaitMessage();
        ProcessMessages(window);
    }
    Terminate(window);
}

void Terminate(WindowObject*& window) {
    terminated = true;
    WindowObject* ending = std::exchange(applicationWindow, nullptr);
    if (ending == nullptr) return;
    ending->Hold();
    // The variable may live in an object the window owns: clear it while it still exists.
    window = nullptr;
    ObjectBase::Release(ending);
    ending->Unhold();
}

bool EndOfLogonHandler(WindowObject* window, MSG& message, LRESULT* /*result*/) {
    if (message.message != WM_ENDSESSION || message.wParam == 0) return false;
    // Balances the hold of the handler walk, so the release below disposes at once.
    window->Unhold();
    WindowObject* ending = std::exchange(applicationWindow, nullptr);
    terminated = true;
    ObjectBase::Release(ending);
    ExitProcess(0);
}

}  // namespace mvorbel
