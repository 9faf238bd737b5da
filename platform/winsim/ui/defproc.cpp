// DefWindowProcA: what the platform does with a message the window procedure passes on.
#include <algorithm>
#include <cstring>

#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

bool IsChildWindow(const Window& w) { return (w.style & (WS_CHILD | WS_POPUP)) == WS_CHILD; }

LRESULT HitTest(const Window& w, LPARAM lParam) {
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const RECT& r = w.rect;
    if (pt.x < r.left || pt.x >= r.right || pt.y < r.top || pt.y >= r.bottom) return HTNOWHERE;
    RECT client = ClientRect(w);
    LONG cx = pt.x - r.left - w.insets.left, cy = pt.y - r.top - w.insets.top;
    if (cx >= 0 && cy >= 0 && cx < client.right && cy < client.bottom) return HTCLIENT;
    return HTCAPTION;
}

LRESULT SetCursorFor(HWND hwnd, Window& w, WPARAM wParam, LPARAM lParam) {
    if (IsChildWindow(w) && w.parent && Send(w.parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
    Window* again = Find(hwnd);
    if (!again) return FALSE;
    if (LOWORD(lParam) == HTCLIENT) {
        if (HCURSOR cursor = again->cls->wc.hCursor) {
            SetCursor(cursor);
            return TRUE;
        }
        return FALSE;
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

void WindowPosChanged(HWND hwnd, const WINDOWPOS* pos) {
    Window* w = Find(hwnd);
    if (!w || !pos) return;
    if (!(pos->flags & kNoClientMove)) {
        LONG x = w->rect.left + w->insets.left, y = w->rect.top + w->insets.top;
        if (IsChildWindow(*w) && w->parent)
            if (Window* p = Find(w->parent)) {
                x -= p->rect.left + p->insets.left;
                y -= p->rect.top + p->insets.top;
            }
        Send(hwnd, WM_MOVE, 0, MAKELPARAM(x, y));
    }
    if (!(pos->flags & kNoClientSize) && (w = Find(hwnd))) {
        RECT client = ClientRect(*w);
        WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        Send(hwnd, WM_SIZE, kind, MAKELPARAM(client.right, client.bottom));
    }
}

}  // namespace

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    switch (message) {
        case WM_NCCREATE: {
            // The caption is stored here, so a procedure that swallows WM_NCCREATE has none.
            auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
            return TRUE;
        }
        case WM_NCCALCSIZE: {
            // For wParam TRUE lParam is NCCALCSIZE_PARAMS, whose first member is the same RECT.
            if (auto* rect = reinterpret_cast<RECT*>(lParam)) {
                RECT insets = DefaultInsets(*w);
                rect->left += insets.left;
                rect->top += insets.top;
                rect->right = std::max(rect->left, rect->right - insets.right);
                rect->bottom = std::max(rect->top, rect->bottom - insets.bottom);
            }
            return 0;
        }
        case WM_NCHITTEST: return HitTest(*w, lParam);
        case WM_NCACTIVATE: return TRUE;
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
            return TRUE;
        case WM_GETTEXT: {
            if (wParam == 0 || !lParam) return 0;
            auto* buffer = reinterpret_cast<char*>(lParam);
            std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
            std::memcpy(buffer, w->text.data(), n);
            buffer[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_PAINT: PaintDefault(hwnd); return 0;
        case WM_ERASEBKGND: {
            HBRUSH brush = w->cls->wc.hbrBackground;
            if (!brush || !wParam) return 0;
            RECT client = ClientRect(*w);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
            return 1;
        }
        case WM_SETCURSOR: return SetCursorFor(hwnd, *w, wParam, lParam);
        case WM_MOUSEACTIVATE:
            if (IsChildWindow(*w) && w->parent) {
                if (LRESULT answer = Send(w->parent, WM_MOUSEACTIVATE, wParam, lParam)) return answer;
            }
            return MA_ACTIVATE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !(w->style & WS_MINIMIZE)) SetFocus(hwnd);
            return 0;
        case WM_SETICON: {
            HICON icon = reinterpret_cast<HICON>(lParam), previous;
            if (wParam == ICON_BIG) {
                previous = w->bigIcon;
                w->bigIcon = icon;
            } else if (wParam == ICON_SMALL) {
                previous = w->smallIcon;
                w->smallIcon = icon;
            } else {
                return 0;
            }
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_GETICON:
            if (wParam == ICON_BIG) return reinterpret_cast<LRESULT>(w->bigIcon);
            if (wParam == ICON_SMALL) return reinterpret_cast<LRESULT>(w->smallIcon);
            if (wParam == ICON_SMALL2) return reinterpret_cast<LRESULT>(w->smallIcon ? w->smallIcon : w->bigIcon);
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE: Send(hwnd, WM_CLOSE, 0, 0); break;
                case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
                case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
                case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
            }
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN)) PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        case WM_WINDOWPOSCHANGED: WindowPosChanged(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam)); return 0;
        case WM_QUERYENDSESSION: return TRUE;
        case WM_CONTEXTMENU:
            if (IsChildWindow(*w) && w->parent) Send(w->parent, WM_CONTEXTMENU, wParam, lParam);
            return 0;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORSCROLLBAR:
            return reinterpret_cast<LRESULT>(SysColorBrush(COLOR_3DFACE));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return reinterpret_cast<LRESULT>(SysColorBrush(COLOR_WINDOW));
    }
    return 0;
}
