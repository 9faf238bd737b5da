// Showing, moving, activation and focus of windows.
#include <algorithm>

#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

// Flags the platform adds to WINDOWPOS for WM_WINDOWPOSCHANGED (not in the public headers).
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

constexpr RECT kMinimizedRect = {-32000, -32000, -32000 + 160, -32000 + 28};
constexpr RECT kMaximizedRect = {0, 0, 1024, 768};

bool IsChildWindow(const Window& w) { return (w.style & (WS_CHILD | WS_POPUP)) == WS_CHILD; }

HWND TopLevelOf(HWND hwnd) {
    Window* w = Find(hwnd);
    while (w && IsChildWindow(*w) && w->parent) {
        hwnd = w->parent;
        w = Find(hwnd);
    }
    return hwnd;
}

bool Equal(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Normal rectangles of minimized and maximized windows, restored by SW_RESTORE.
std::map<HWND, RECT>& NormalRects() {
    static std::map<HWND, RECT> rects;
    static const bool registered = [] {
        winsim::OnReset([] { rects.clear(); });
        return true;
    }();
    (void)registered;
    return rects;
}

BOOL ReadRect(HWND hwnd, LPRECT rect, bool client) {
    Window* w = FindOrFail(hwnd);
    if (!w) return FALSE;
    if (!rect) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    *rect = client ? ClientRect(*w) : w->rect;
    return TRUE;
}

}  // namespace

namespace winsim::ui {

RECT DefaultInsets(const Window& w) {
    int frame = 0;
    if (w.style & WS_THICKFRAME)
        frame = 4;
    else if ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME))
        frame = 3;
    else if (w.style & WS_BORDER)
        frame = 1;
    if (w.exStyle & WS_EX_CLIENTEDGE) frame += 2;
    int top = frame;
    if ((w.style & WS_CAPTION) == WS_CAPTION) top += 18;
    if (!IsChildWindow(w) && w.menu) top += 19;
    return {frame, top, frame, frame};
}

RECT ClientRect(const Window& w) {
    LONG width = w.rect.right - w.rect.left - w.insets.left - w.insets.right;
    LONG height = w.rect.bottom - w.rect.top - w.insets.top - w.insets.bottom;
    return {0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
}

// One thread owns every window here, so the foreground window is simply its active one.
HWND Foreground() { return St().active; }

void SetFocusTo(HWND hwnd) {
    auto& state = St();
    HWND old = state.focus;
    if (old == hwnd) return;
    state.focus = hwnd;
    if (old && Find(old)) Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && Find(hwnd) && St().focus == hwnd) Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
}

void SetActive(HWND hwnd) {
    auto& state = St();
    HWND old = state.active;
    if (old == hwnd) return;
    state.active = hwnd;
    if (old && Find(old)) {
        Send(old, WM_NCACTIVATE, FALSE, 0);
        if (Window* w = Find(old))
            Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (w->style & WS_MINIMIZE) ? 1 : 0),
                 reinterpret_cast<LPARAM>(hwnd));
    }
    // The thread gains or loses activation as a whole: all its top-level windows hear of it.
    if (!old != !hwnd) {
        for (HWND top : std::vector<HWND>(state.windowOrder)) {
            Window* w = Find(top);
            if (w && !IsChildWindow(*w)) Send(top, WM_ACTIVATEAPP, hwnd ? TRUE : FALSE, 0);
        }
    }
    if (hwnd && Find(hwnd) && St().active == hwnd) {
        Send(hwnd, WM_NCACTIVATE, TRUE, 0);
        if (Window* w = Find(hwnd))
            Send(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, (w->style & WS_MINIMIZE) ? 1 : 0),
                 reinterpret_cast<LPARAM>(old));
    }
    if (!hwnd && St().focus) SetFocusTo(nullptr);
}

void SetPosition(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Window* w = Find(hwnd);
    if (!w) return;
    bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible) flags &= ~SWP_SHOWWINDOW;
    if (!visible) flags &= ~SWP_HIDEWINDOW;
    int originX = 0, originY = 0;
    if (IsChildWindow(*w) && w->parent) {
        Window* p = Find(w->parent);
        originX = p->rect.left + p->insets.left;
        originY = p->rect.top + p->insets.top;
    }
    WINDOWPOS pos = {hwnd, after, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        pos.x = w->rect.left - originX;
        pos.y = w->rect.top - originY;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = w->rect.right - w->rect.left;
        pos.cy = w->rect.bottom - w->rect.top;
    }
    if (!(flags & SWP_NOSENDCHANGING)) Send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!(w = Find(hwnd))) return;
    RECT before = w->rect;
    RECT clientBefore = ClientRect(*w);
    w->rect = {pos.x + originX, pos.y + originY, pos.x + originX + pos.cx, pos.y + originY + pos.cy};
    RECT clientAfter = ClientRect(*w);
    if (before.left + w->insets.left == w->rect.left + w->insets.left &&
        before.top + w->insets.top == w->rect.top + w->insets.top)
        pos.flags |= kNoClientMove;
    if (Equal(clientBefore, clientAfter)) pos.flags |= kNoClientSize;
    if (pos.flags & SWP_SHOWWINDOW) {
        w->style |= WS_VISIBLE;
        w->needsPaint = true;
        w->erasePending = true;
        if (!(pos.flags & SWP_NOREDRAW)) EraseNow(hwnd);
    } else if (pos.flags & SWP_HIDEWINDOW) {
        w->style &= ~WS_VISIBLE;
        w->needsPaint = false;
        w->erasePending = false;
        // Hiding the active window hands activation on; this thread has no other candidate.
        if (St().active == hwnd) SetActive(nullptr);
        HWND focus = St().focus;
        if (focus && (focus == hwnd || TopLevelOf(focus) == hwnd)) SetFocusTo(nullptr);
    } else if (!Equal(clientBefore, clientAfter) && (w->style & WS_VISIBLE)) {
        w->needsPaint = true;
        w->erasePending = true;
    }
    if (!Find(hwnd)) return;
    if (!(pos.flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && !IsChildWindow(*Find(hwnd))) SetActive(hwnd);
    if (Find(hwnd)) Send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

}  // namespace winsim::ui

BOOL WINAPI ShowWindow(HWND hwnd, int command) {
    Window* w = FindOrFail(hwnd);
    if (!w) return FALSE;
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    bool child = IsChildWindow(*w);
    UINT swp = SWP_NOSIZE | SWP_NOMOVE;
    RECT placed = w->rect;
    bool place = false;
    auto& normal = NormalRects();
    auto restore = [&] {
        if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
            w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
            if (normal.count(hwnd)) placed = normal[hwnd];
            normal.erase(hwnd);
            place = true;
        }
    };
    auto enter = [&](DWORD bit, const RECT& rect) {
        if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) normal[hwnd] = w->rect;
        w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | bit;
        placed = rect;
        place = true;
    };
    switch (command) {
        case SW_HIDE:
            if (!wasVisible) return FALSE;
            swp = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER;
            break;
        case SW_SHOWMINNOACTIVE:
        case SW_MINIMIZE:
        case SW_FORCEMINIMIZE:
        case SW_SHOWMINIMIZED:
            enter(WS_MINIMIZE, kMinimizedRect);
            swp = SWP_SHOWWINDOW | SWP_FRAMECHANGED;
            if (command != SW_SHOWMINIMIZED) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
            break;
        case SW_SHOWMAXIMIZED:
            enter(WS_MAXIMIZE, kMaximizedRect);
            swp = SWP_SHOWWINDOW | SWP_FRAMECHANGED;
            break;
        case SW_SHOWNA:
        case SW_SHOWNOACTIVATE:
            swp |= SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
            if (command == SW_SHOWNOACTIVATE) restore();
            break;
        case SW_SHOW:
            swp |= SWP_SHOWWINDOW;
            break;
        case SW_SHOWNORMAL:
        case SW_SHOWDEFAULT:
        case SW_RESTORE:
            swp |= SWP_SHOWWINDOW;
            restore();
            break;
        default:
            return wasVisible ? TRUE : FALSE;
    }
    if (place) swp &= ~(SWP_NOSIZE | SWP_NOMOVE);
    if (child) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
    bool show = command != SW_HIDE;
    if (show != wasVisible || command == SW_SHOWNA) {
        Send(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (!Find(hwnd)) return wasVisible ? TRUE : FALSE;
    }
    int x = placed.left, y = placed.top;
    if (child && (w = Find(hwnd)) && w->parent) {
        Window* p = Find(w->parent);
        x -= p->rect.left + p->insets.left;
        y -= p->rect.top + p->insets.top;
    }
    SetPosition(hwnd, HWND_TOP, x, y, placed.right - placed.left, placed.bottom - placed.top, swp);
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
    Window* w = Find(hwnd);
    while (w) {
        if (!(w->style & WS_VISIBLE)) return FALSE;
        if (!IsChildWindow(*w) || !w->parent) return TRUE;
        w = Find(w->parent);
    }
    return FALSE;
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    if (winsim::detail::FailsNow("SetWindowPos")) return FALSE;
    if (!FindOrFail(hwnd)) return FALSE;
    SetPosition(hwnd, insertAfter, x, y, width, height, flags);
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) { return ReadRect(hwnd, rect, false); }

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) { return ReadRect(hwnd, rect, true); }

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
    if (!FindOrFail(hwnd)) return FALSE;
    SetActive(TopLevelOf(hwnd));
    return TRUE;
}

HWND WINAPI SetFocus(HWND hwnd) {
    HWND previous = St().focus;
    if (!hwnd) {
        SetFocusTo(nullptr);
        return previous;
    }
    Window* w = FindOrFail(hwnd);
    if (!w) return nullptr;
    for (HWND at = hwnd; Window* a = Find(at);) {
        if (a->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
        if (!IsChildWindow(*a) || !a->parent) break;
        at = a->parent;
    }
    HWND top = TopLevelOf(hwnd);
    if (St().active != top) SetActive(top);
    if (Find(hwnd)) SetFocusTo(hwnd);
    return previous;
}

HWND WINAPI GetFocus() { return St().focus; }

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    Window* w = FindOrFail(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL WINAPI IsIconic(HWND hwnd) {
    Window* w = FindOrFail(hwnd);
    return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL WINAPI IsZoomed(HWND hwnd) {
    Window* w = FindOrFail(hwnd);
    return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

HWND WINAPI GetCapture() { return St().capture; }
