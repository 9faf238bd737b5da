#pragma once
// winsim's user-interface state, shared by the files of this area: one thread's windows, queue,
// menus and GDI objects. Not part of the test API.
#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/ui/ui_control.h"

namespace winsim::ui {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    WNDCLASSA wc{};  // lpszClassName and lpszMenuName point into this record's strings
    std::string menuName;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};
    RECT insets{};  // client area's distance from each edge of the window rectangle
    HWND parent = nullptr;
    HWND owner = nullptr;
    HMENU menu = nullptr;  // menu bar of a top-level window
    std::vector<std::pair<std::string, HANDLE>> props;  // names already folded to lower case
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    HDC ownDc = nullptr;
    bool needsPaint = false;
    bool erasePending = false;
    bool destroying = false;
    CREATESTRUCTA created{};
};

struct MenuItem {
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU submenu = nullptr;
    HBITMAP checkedBitmap = nullptr;
    HBITMAP uncheckedBitmap = nullptr;
    HBITMAP bitmap = nullptr;
    ULONG_PTR data = 0;
    bool hasText = false;
    // As the NT family keeps it; the single-byte calls convert through the ANSI code page, which
    // on the 9x family (single-byte code pages both) gives back the very bytes that were put in.
    std::u16string text;
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

struct DeviceContext {
    HWND window = nullptr;
    bool own = false;  // CS_OWNDC: lives as long as its window
    int bkMode = OPAQUE;
    COLORREF bkColor = RGB(255, 255, 255);
    POINT brushOrigin{};
};

struct IconResource {
    HINSTANCE instance = nullptr;
    std::string name;  // lower case; empty when named by id
    WORD id = 0;
    HICON icon = nullptr;
};

struct State {
    ULONG_PTR nextHandle = 0x10000;
    ATOM nextAtom = 0xC000;
    DWORD tick = 1000;

    std::vector<std::shared_ptr<WindowClass>> classes;
    std::map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> windowOrder;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;

    std::deque<MSG> posted;
    bool quitPending = false;
    int quitCode = 0;
    std::deque<std::function<void()>> waitScripts;

    std::map<HMENU, Menu> menus;
    std::deque<TrackScript> trackQueue;
    TrackScript standingTrackScript;
    std::vector<Tracking> trackings;

    std::map<int, bool> keysDown;
    std::map<int, bool> keysToggled;
    POINT cursorPos{};
    HCURSOR cursor = nullptr;

    std::map<HICON, bool> icons;  // value: shared (loaded from a resource, never freed)
    std::vector<IconResource> iconResources;
    std::map<ULONG_PTR, HICON> systemIcons;
    std::map<ULONG_PTR, HCURSOR> systemCursors;
    std::map<HBRUSH, COLORREF> brushes;
    std::map<int, HBRUSH> sysColorBrushes;
    std::map<HDC, DeviceContext> dcs;
    std::array<COLORREF, 31> sysColors{};
    std::vector<Fill> fills;
};

State& St();
template <class H>
H NewHandle() {
    auto& state = St();
    H handle = reinterpret_cast<H>(state.nextHandle);
    state.nextHandle += 4;
    return handle;
}
std::string Lower(std::string text);

// Windows
Window* Find(HWND window);
Window* FindOrFail(HWND window);  // sets ERROR_INVALID_WINDOW_HANDLE when absent
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Every call of a window procedure goes through here: no exception may leave it.
LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
RECT DefaultInsets(const Window& window);
RECT ClientRect(const Window& window);
void SetActive(HWND window);
void SetFocusTo(HWND window);
void SetPosition(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags);
HWND Foreground();
void EraseNow(HWND window);
void PaintDefault(HWND window);
void RemovePostedFor(HWND window);

// Menus
inline constexpr UINT kTypeMask = 0x6B64;   // the MFT_* bits a caller can see
inline constexpr UINT kStateMask = 0x108B;  // the MFS_* bits a caller can see
struct Place {
    HMENU menu;
    std::size_t index;
};
Menu* FindMenu(HMENU menu);
Menu* FindMenuOrFail(HMENU menu);  // sets ERROR_INVALID_MENU_HANDLE when absent
// By command the platform searches submenus before it accepts a popup item that carries the id.
std::optional<Place> Locate(HMENU menu, UINT item, bool byPosition, int depth = 0);
MenuItem& At(const Place& place);
void DestroyMenuTree(HMENU menu);

// GDI
COLORREF BrushColor(HBRUSH brush, bool* valid);
HBRUSH SysColorBrush(int index);
HDC NewDc(HWND window, bool own);
void ForgetWindowDcs(HWND window);

}  // namespace winsim::ui
