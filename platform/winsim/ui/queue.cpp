// The thread's message queue, sending and dispatching, keys and the cursor position.
#include <algorithm>
#include <string>

#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

const HWND kThreadOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));

bool InRange(UINT message, UINT first, UINT last) {
    if (first == 0 && last == 0) return true;
    // An inverted range selects everything outside it.
    if (first > last) return message >= first || message <= last;
    return message >= first && message <= last;
}

bool IsSelfOrDescendant(HWND candidate, HWND ancestor) {
    for (HWND at = candidate; at;) {
        if (at == ancestor) return true;
        Window* w = Find(at);
        if (!w || !(w->style & WS_CHILD)) return false;
        at = w->parent;
    }
    return false;
}

bool WindowMatches(HWND messageWindow, HWND filter) {
    if (!filter) return true;
    if (filter == kThreadOnly) return messageWindow == nullptr;
    return messageWindow && IsSelfOrDescendant(messageWindow, filter);
}

MSG Stamp(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& state = St();
    return {hwnd, message, wParam, lParam, state.tick++, state.cursorPos};
}

HWND PaintCandidate(HWND filter) {
    for (HWND hwnd : St().windowOrder) {
        Window* w = Find(hwnd);
        if (w && w->needsPaint && IsWindowVisible(hwnd) && WindowMatches(hwnd, filter)) return hwnd;
    }
    return nullptr;
}

bool Retrievable() { return !St().posted.empty() || St().quitPending || PaintCandidate(nullptr); }

// The platform looks in this order: posted messages, then the quit flag (so WM_QUIT comes only
// after every posted message that the filter selects), then windows needing paint.
bool Retrieve(MSG& out, HWND filter, UINT first, UINT last, bool remove) {
    auto& state = St();
    for (auto at = state.posted.begin(); at != state.posted.end(); ++at) {
        if (!WindowMatches(at->hwnd, filter) || !InRange(at->message, first, last)) continue;
        out = *at;
        if (remove) state.posted.erase(at);
        return true;
    }
    if (state.quitPending) {
        out = Stamp(nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0);
        if (remove) state.quitPending = false;
        return true;
    }
    if (InRange(WM_PAINT, first, last)) {
        if (HWND hwnd = PaintCandidate(filter)) {
            // WM_PAINT stays due until the window is validated, whatever the remove flag says.
            out = Stamp(hwnd, WM_PAINT, 0, 0);
            return true;
        }
    }
    return false;
}

WORD CharFor(WPARAM key) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    if (key >= 'A' && key <= 'Z') {
        if (control) return static_cast<WORD>(key - 'A' + 1);
        bool upper = shift != ((GetKeyState(0x14) & 1) != 0);  // 0x14: VK_CAPITAL
        return static_cast<WORD>(upper ? key : key - 'A' + 'a');
    }
    if (key >= '0' && key <= '9' && !shift && !control) return static_cast<WORD>(key);
    switch (key) {
        case VK_SPACE: return ' ';
        case VK_TAB: return '\t';
        case VK_RETURN: return '\r';
        case VK_ESCAPE: return 0x1B;
        case VK_BACK: return 0x08;
    }
    return 0;
}

bool KeyDown(int key) {
    auto& down = St().keysDown;
    auto is = [&](int k) { return down.count(k) && down[k]; };
    switch (key) {
        case VK_SHIFT: return is(VK_SHIFT) || is(VK_LSHIFT) || is(VK_RSHIFT);
        case VK_CONTROL: return is(VK_CONTROL) || is(VK_LCONTROL) || is(VK_RCONTROL);
        case VK_MENU: return is(VK_MENU) || is(VK_LMENU) || is(VK_RMENU);
    }
    return is(key);
}

}  // namespace

namespace winsim::ui {

LRESULT CallProcedure(WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return procedure(hwnd, message, wParam, lParam);
    } catch (const ProcessExit&) {
        // The process ends inside the procedure: no frame of it is left to unwind into.
        throw;
    } catch (...) {
        throw ExceptionThroughPlatform("an exception left the window procedure for message " +
                                       std::to_string(message) + " into the platform's frames");
    }
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    WNDPROC proc = w->proc;
    if (!proc) return DefWindowProcA(hwnd, message, wParam, lParam);
    return CallProcedure(proc, hwnd, message, wParam, lParam);
}

void RemovePostedFor(HWND hwnd) {
    std::erase_if(St().posted, [hwnd](const MSG& msg) { return msg.hwnd == hwnd; });
}

}  // namespace winsim::ui

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (winsim::detail::FailsNow("PostMessageA")) return FALSE;
    if (hwnd && !FindOrFail(hwnd)) return FALSE;
    St().posted.push_back(Stamp(hwnd, message, wParam, lParam));
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    // Modal loops elsewhere (message boxes) meet the quit message too.
    winsim::detail::SetQuitProbe([] { return St().quitPending; });
    St().quitPending = true;
    St().quitCode = exitCode;
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
    if (hwnd && hwnd != kThreadOnly && !FindOrFail(hwnd)) return FALSE;
    MSG found;
    if (!Retrieve(found, hwnd, filterMin, filterMax, (remove & PM_REMOVE) != 0)) return FALSE;
    if (message) *message = found;
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG message, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (hwnd && hwnd != kThreadOnly && !FindOrFail(hwnd)) return -1;
    MSG found;
    while (!Retrieve(found, hwnd, filterMin, filterMax, true)) {
        if (St().waitScripts.empty())
            throw winsim::Hang("GetMessageA: no message for the filter and nothing scripted to arrive");
        auto event = std::move(St().waitScripts.front());
        St().waitScripts.pop_front();
        event();
    }
    if (message) *message = found;
    return found.message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI WaitMessage() {
    while (!Retrievable()) {
        if (St().waitScripts.empty())
            throw winsim::Hang("WaitMessage: the queue is empty and nothing is scripted to arrive");
        auto event = std::move(St().waitScripts.front());
        St().waitScripts.pop_front();
        event();
    }
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* message) {
    if (!message) return FALSE;
    // Key presses and releases count as translated whether or not they make a character.
    switch (message->message) {
        case WM_KEYUP:
        case WM_SYSKEYUP: return TRUE;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: break;
        default: return FALSE;
    }
    if (WORD ch = CharFor(message->wParam)) {
        UINT charMessage = message->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        St().posted.push_back(Stamp(message->hwnd, charMessage, ch, message->lParam));
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    if (!message || !message->hwnd) return 0;
    if (!FindOrFail(message->hwnd)) return 0;
    return Send(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!FindOrFail(hwnd)) return 0;
    return Send(hwnd, message, wParam, lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!procedure) return 0;
    return CallProcedure(procedure, hwnd, message, wParam, lParam);
}

SHORT WINAPI GetKeyState(int virtualKey) {
    auto& toggled = St().keysToggled;
    int state = (KeyDown(virtualKey) ? 0x8000 : 0) | (toggled.count(virtualKey) && toggled[virtualKey] ? 1 : 0);
    return static_cast<SHORT>(state);
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (!point) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    *point = St().cursorPos;
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    St().cursorPos = {x, y};
    return TRUE;
}

namespace winsim {

void ScriptWait(std::function<void()> event) { ui::St().waitScripts.push_back(std::move(event)); }

std::size_t PendingWaitScripts() { return ui::St().waitScripts.size(); }

void SetKeyDown(int virtualKey, bool down) { ui::St().keysDown[virtualKey] = down; }

void SetKeyToggled(int virtualKey, bool toggled) { ui::St().keysToggled[virtualKey] = toggled; }

}  // namespace winsim
