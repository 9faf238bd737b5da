#pragma once
// Test control of winsim's user interface: what the user would see (menus, windows, painting),
// what the user does (keys, cursor, choices in a tracked popup) and what happens while the
// program waits for messages.
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/winsim/ui/ui.h"

namespace winsim {

// ---- Menus as a user sees them -------------------------------------------------------------

struct MenuLine {
    // Empty for separators and items without text. As GetMenuItemInfoA reads it (in the ANSI
    // code page, '?' for what it lacks), as the user sees it in UTF-16, and that in UTF-8.
    std::string text;
    std::u16string wide;
    std::string utf8;
    UINT id = 0;
    UINT type = 0;   // MFT_* bits as kept by the platform
    UINT state = 0;  // MFS_* bits
    bool checked = false;
    bool radio = false;  // drawn with a bullet instead of a check mark
    bool separator = false;
    bool grayed = false;
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
};

// The items of a menu in their order; empty for an invalid handle.
std::vector<MenuLine> ReadMenu(HMENU menu);
std::size_t LiveMenuCount();

// ---- TrackPopupMenu ------------------------------------------------------------------------

struct Tracking {
    HMENU menu = nullptr;
    std::vector<MenuLine> items;  // read back when tracking began
    POINT point{};
    UINT flags = 0;
    HWND owner = nullptr;
    HWND foreground = nullptr;  // the foreground window when tracking began
};

// What the user does with a tracked popup: the id of the item chosen, or nothing to dismiss it.
// The script may change key state and cursor; it runs inside TrackPopupMenu.
using TrackScript = std::function<std::optional<UINT>(const Tracking&)>;

// Queued scripts serve one tracking each, in order; when none is queued the standing script
// (if any) serves. Tracking with neither throws Hang.
void QueueTrackScript(TrackScript script);
void SetTrackScript(TrackScript script);
const std::vector<Tracking>& Trackings();

// ---- Waiting -------------------------------------------------------------------------------

// Thrown where the real program would block forever (WaitMessage / GetMessageA on an empty
// queue with nothing scripted, TrackPopupMenu without a script): a test failure, not a hang.
struct Hang : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Thrown where an exception leaves a window procedure into the platform's own frames: the
// 32-bit build's unwinder can't cross them and the process ends, so here it fails the test.
struct ExceptionThroughPlatform : std::logic_error {
    using std::logic_error::logic_error;
};

// Things that happen while the program waits: each WaitMessage on an empty queue runs the next
// one (several, until a message is retrievable).
void ScriptWait(std::function<void()> event);
std::size_t PendingWaitScripts();

// ---- Input ---------------------------------------------------------------------------------

void SetKeyDown(int virtualKey, bool down);
void SetKeyToggled(int virtualKey, bool toggled);

// ---- Windows -------------------------------------------------------------------------------

struct WindowInfo {
    std::string className;
    std::string text;
    DWORD style = 0;    // as kept by the platform
    DWORD exStyle = 0;  // as kept by the platform
    RECT rect{};
    HWND parent = nullptr;
    HMENU menu = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    CREATESTRUCTA created{};  // CreateWindowExA's arguments as passed (string fields null)
};
std::optional<WindowInfo> DescribeWindow(HWND window);
std::vector<HWND> LiveWindows();  // in creation order

// ---- Resources, GDI ------------------------------------------------------------------------

// An icon group resource of a module, found by LoadIconA(instance, name) (name compared without
// regard to case, as resource names are) or by MAKEINTRESOURCEA(id).
void AddIconResource(HINSTANCE instance, const std::string& name);
void AddIconResource(HINSTANCE instance, WORD id);
std::size_t LiveIconCount();  // icons that DestroyIcon must free (copies), not shared ones

void SetSysColor(int index, COLORREF color);
std::size_t LiveGdiObjectCount();  // brushes created and not deleted

struct Fill {
    HDC dc = nullptr;
    HWND window = nullptr;
    RECT rect{};
    COLORREF color = 0;
    int bkMode = 0;
    COLORREF bkColor = 0;
    POINT brushOrigin{};
};
const std::vector<Fill>& Fills();

}  // namespace winsim
