// Window classes, creation and destruction, properties, window longs and text.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// A class is named by its text or by the atom RegisterClassA returned.
bool NamesClass(const WindowClass& cls, LPCSTR name) {
    if (IS_INTRESOURCE(name)) return cls.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
    return Lower(cls.name) == Lower(name);
}

bool IsGlobal(const WindowClass& cls) { return (cls.wc.style & CS_GLOBALCLASS) != 0; }

// The module's own classes first, then the global ones of every module.
std::shared_ptr<WindowClass> FindClass(HINSTANCE instance, LPCSTR name) {
    if (!name) return nullptr;
    for (auto& cls : St().classes)
        if (!IsGlobal(*cls) && cls->wc.hInstance == instance && NamesClass(*cls, name)) return cls;
    for (auto& cls : St().classes)
        if (IsGlobal(*cls) && NamesClass(*cls, name)) return cls;
    return nullptr;
}

std::string PropKey(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
    return Lower(name);
}

bool IsChild(DWORD style) { return (style & (WS_CHILD | WS_POPUP)) == WS_CHILD; }

// CW_USEDEFAULT means a cascaded position and three quarters of the screen for overlapped
// windows, and zero for popups and children.
void FixCoordinates(CREATESTRUCTA& cs) {
    if (cs.style & (WS_CHILD | WS_POPUP)) {
        if (cs.x == CW_USEDEFAULT) cs.x = cs.y = 0;
        if (cs.cx == CW_USEDEFAULT) cs.cx = cs.cy = 0;
        return;
    }
    if (cs.x == CW_USEDEFAULT) {
        int step = static_cast<int>(St().windowOrder.size() % 8) + 1;
        cs.x = cs.y = 26 * step;
    }
    if (cs.cx == CW_USEDEFAULT) {
        cs.cx = kScreenWidth * 3 / 4 - cs.x;
        cs.cy = kScreenHeight * 3 / 4 - cs.y;
    }
}

void Forget(HWND hwnd) {
    auto& state = St();
    RemovePostedFor(hwnd);
    ForgetWindowDcs(hwnd);
    if (state.capture == hwnd) state.capture = nullptr;
    if (state.focus == hwnd) state.focus = nullptr;
    if (state.active == hwnd) state.active = nullptr;
    state.windows.erase(hwnd);
    std::erase(state.windowOrder, hwnd);
}

std::vector<HWND> Related(HWND hwnd, bool children) {
    std::vector<HWND> found;
    for (HWND other : St().windowOrder) {
        Window* w = Find(other);
        if (w && (children ? w->parent : w->owner) == hwnd) found.push_back(other);
    }
    return found;
}

void SendDestroy(HWND hwnd) {
    Send(hwnd, WM_DESTROY, 0, 0);
    for (HWND child : Related(hwnd, true)) SendDestroy(child);
}

void FreeWindow(HWND hwnd) {
    for (HWND child : Related(hwnd, true)) FreeWindow(child);
    Send(hwnd, WM_NCDESTROY, 0, 0);
    Window* w = Find(hwnd);
    if (!w) return;
    // The menu bar belongs to the window; a menu only lent to it must be taken back first.
    HMENU menu = IsChild(w->style) ? nullptr : w->menu;
    Forget(hwnd);
    if (menu && FindMenu(menu)) DestroyMenuTree(menu);
}

}  // namespace

namespace winsim::ui {

Window* Find(HWND window) {
    auto& windows = St().windows;
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : found->second.get();
}

Window* FindOrFail(HWND window) {
    Window* w = Find(window);
    if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

}  // namespace winsim::ui

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass) {
    if (winsim::detail::FailsNow("RegisterClassA")) return 0;
    if (!wndClass || !wndClass->lpszClassName || wndClass->cbClsExtra < 0 || wndClass->cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bool global = (wndClass->style & CS_GLOBALCLASS) != 0;
    for (auto& cls : St().classes) {
        bool clash = global || IsGlobal(*cls) || cls->wc.hInstance == wndClass->hInstance;
        if (clash && NamesClass(*cls, wndClass->lpszClassName)) {
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    }
    auto cls = std::make_shared<WindowClass>();
    cls->wc = *wndClass;
    cls->name = IS_INTRESOURCE(wndClass->lpszClassName)
                    ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(wndClass->lpszClassName))
                    : std::string(wndClass->lpszClassName);
    if (wndClass->lpszMenuName && !IS_INTRESOURCE(wndClass->lpszMenuName)) {
        cls->menuName = wndClass->lpszMenuName;
        cls->wc.lpszMenuName = cls->menuName.c_str();
    }
    cls->wc.lpszClassName = cls->name.c_str();
    cls->atom = St().nextAtom++;
    St().classes.push_back(cls);
    return cls->atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    auto cls = FindClass(instance, className);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    for (auto& [hwnd, w] : St().windows)
        if (w->cls == cls) {
            SetLastError(1412L);  // ERROR_CLASS_HAS_WINDOWS
            return FALSE;
        }
    std::erase(St().classes, cls);
    return TRUE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wndClass) {
    auto cls = FindClass(instance, className);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (!wndClass) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    *wndClass = cls->wc;
    // The platform hands back the caller's own name pointer, not a copy of its own.
    wndClass->lpszClassName = className;
    return cls->atom;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    if (winsim::detail::FailsNow("CreateWindowExA")) return nullptr;
    CREATESTRUCTA cs = {param, instance, menu, parent, height, width, y, x,
                        static_cast<LONG>(style), windowName, className, exStyle};
    CREATESTRUCTA asPassed = cs;
    asPassed.lpszName = asPassed.lpszClass = nullptr;
    bool child = IsChild(style);
    if (parent) {
        if (!Find(parent)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
    } else if (child) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    auto cls = FindClass(instance, className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (!child && menu && !FindMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    FixCoordinates(cs);

    auto window = std::make_unique<Window>();
    HWND hwnd = NewHandle<HWND>();
    window->handle = hwnd;
    window->cls = cls;
    window->proc = cls->wc.lpfnWndProc;
    window->instance = instance;
    // The platform keeps WS_VISIBLE off until the window is shown at the end of creation, and
    // gives every window that is not a child clipped siblings and overlapped ones a caption.
    window->style = style & ~WS_VISIBLE;
    if (!child) {
        window->style |= WS_CLIPSIBLINGS;
        if (!(style & WS_POPUP)) window->style |= WS_CAPTION;
    }
    window->exStyle = exStyle;
    if ((exStyle & WS_EX_DLGMODALFRAME) || (window->style & (WS_DLGFRAME | WS_THICKFRAME)))
        window->exStyle |= WS_EX_WINDOWEDGE;
    else
        window->exStyle &= ~WS_EX_WINDOWEDGE;
    if (child) {
        window->parent = parent;
        Window* p = Find(parent);
        cs.x += p->rect.left + p->insets.left;
        cs.y += p->rect.top + p->insets.top;
    } else {
        window->owner = parent;
        window->menu = menu;
    }
    window->rect = {cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy};
    window->created = asPassed;
    window->insets = DefaultInsets(*window);
    if (cls->wc.style & CS_OWNDC) window->ownDc = NewDc(hwnd, true);
    St().windows[hwnd] = std::move(window);
    St().windowOrder.push_back(hwnd);

    if ((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD))) {
        MINMAXINFO info = {{0, 0}, {kScreenWidth, kScreenHeight}, {0, 0}, {112, 27},
                           {kScreenWidth + 12, kScreenHeight + 12}};
        Send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    }
    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (Find(hwnd)) FreeWindow(hwnd);
        return nullptr;
    }
    if (Window* w = Find(hwnd)) {
        RECT client = w->rect;
        Send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
        if ((w = Find(hwnd))) {
            w->insets = {client.left - w->rect.left, client.top - w->rect.top,
                         w->rect.right - client.right, w->rect.bottom - client.bottom};
        }
    }
    if (!Find(hwnd) || Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (Find(hwnd)) DestroyWindow(hwnd);
        return nullptr;
    }
    if (Window* w = Find(hwnd)) {
        RECT client = ClientRect(*w);
        Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    if (Window* w = Find(hwnd)) {
        int left = w->insets.left + w->rect.left, top = w->insets.top + w->rect.top;
        if (w->parent) {
            Window* p = Find(w->parent);
            left -= p->rect.left + p->insets.left;
            top -= p->rect.top + p->insets.top;
        }
        Send(hwnd, WM_MOVE, 0, MAKELPARAM(left, top));
    }
    if (!Find(hwnd)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return Find(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    if (winsim::detail::FailsNow("DestroyWindow")) return FALSE;
    Window* w = FindOrFail(hwnd);
    if (!w) return FALSE;
    if (w->destroying) return TRUE;
    w->destroying = true;
    if (w->style & WS_VISIBLE) {
        // Only children are told through WM_SHOWWINDOW that they disappear.
        if (w->parent)
            ShowWindow(hwnd, SW_HIDE);
        else
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    if (St().active == hwnd) SetActive(nullptr);
    for (HWND owned : Related(hwnd, false))
        if (Find(owned)) DestroyWindow(owned);
    if (Find(hwnd)) SendDestroy(hwnd);
    if (Find(hwnd)) FreeWindow(hwnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) { return Find(hwnd) ? TRUE : FALSE; }

BOOL WINAPI SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
    Window* w = FindOrFail(hwnd);
    if (!w) return FALSE;
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string key = PropKey(name);
    for (auto& prop : w->props)
        if (prop.first == key) {
            prop.second = data;
            return TRUE;
        }
    w->props.emplace_back(key, data);
    return TRUE;
}

HANDLE WINAPI GetPropA(HWND hwnd, LPCSTR name) {
    Window* w = FindOrFail(hwnd);
    if (!w || !name) return nullptr;
    std::string key = PropKey(name);
    for (auto& prop : w->props)
        if (prop.first == key) return prop.second;
    return nullptr;
}

HANDLE WINAPI RemovePropA(HWND hwnd, LPCSTR name) {
    Window* w = FindOrFail(hwnd);
    if (!w || !name) return nullptr;
    std::string key = PropKey(name);
    for (auto prop = w->props.begin(); prop != w->props.end(); ++prop)
        if (prop->first == key) {
            HANDLE data = prop->second;
            w->props.erase(prop);
            return data;
        }
    return nullptr;
}

// Only the styles are read back (by tests): the program never reads or sets window longs.
LONG WINAPI GetWindowLongA(HWND hwnd, int index) {
    Window* w = FindOrFail(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWL_STYLE: return static_cast<LONG>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    }
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!FindOrFail(hwnd)) return FALSE;
    return static_cast<BOOL>(Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (!FindOrFail(hwnd)) {
        if (buffer && size > 0) buffer[0] = '\0';
        return 0;
    }
    if (!buffer || size <= 0) return 0;
    return static_cast<int>(Send(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthA(HWND hwnd) {
    if (!FindOrFail(hwnd)) return 0;
    return static_cast<int>(Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

namespace winsim {

std::optional<WindowInfo> DescribeWindow(HWND hwnd) {
    Window* w = ui::Find(hwnd);
    if (!w) return std::nullopt;
    WindowInfo info;
    info.className = w->cls->name;
    info.text = w->text;
    info.style = w->style;
    info.exStyle = w->exStyle;
    info.rect = w->rect;
    info.parent = w->parent;
    info.menu = (w->style & WS_CHILD) ? nullptr : w->menu;
    info.bigIcon = w->bigIcon;
    info.smallIcon = w->smallIcon;
    info.created = w->created;
    return info;
}

std::vector<HWND> LiveWindows() { return ui::St().windowOrder; }

}  // namespace winsim
