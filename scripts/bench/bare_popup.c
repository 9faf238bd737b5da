/* The least a Win32 program can do to show what mvorbel.exe shows at start: a hidden window,
 * made foreground, and a popup menu of a few items at the cursor. scripts/bench.sh times the
 * two against each other. No C runtime: its own entry point, only kernel32 and user32.
 * The window's caption is the chooser's own, so that one "popup is up" signal serves both. */
#include <stddef.h>
#include <windows.h>

#define ITEM_COUNT 4
/* Below the screen of any display less than this tall, as the chooser puts its owner. */
#define OUT_OF_SIGHT 2050
/* TPM_VERNEGANIMATION: the flag the chooser tracks its popup with. */
#define TRACK_FLAGS 0x800

static const char *const item_texts[ITEM_COUNT] = {"First system", "Second system", "Turn off", "Cancel"};
/* Static, so zeroed without a call to memset, which there is no runtime to provide. */
static WNDCLASSA window_class;
static MENUITEMINFOA item;

static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

void WINAPI bare_start(void) {
    HINSTANCE instance = GetModuleHandleA(NULL);
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = "BarePopup";
    RegisterClassA(&window_class);
    HWND window = CreateWindowExA(0, "BarePopup", "mVorbel", WS_POPUP, 0, OUT_OF_SIGHT, 1, 1,
                                  NULL, NULL, instance, NULL);
    HMENU menu = CreatePopupMenu();
    item.cbSize = offsetof(MENUITEMINFOA, hbmpItem); /* the size that Windows 95 accepts */
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = MFT_STRING;
    for (UINT i = 0; i < ITEM_COUNT; ++i) {
        item.wID = 0x1000 + i;
        item.dwTypeData = (char *)item_texts[i];
        InsertMenuItemA(menu, i, TRUE, &item);
    }
    POINT cursor;
    GetCursorPos(&cursor);
    /* A popup whose owner is not the foreground window ignores Escape and clicks elsewhere. */
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TRACK_FLAGS, cursor.x, cursor.y, 0, window, NULL);
    DestroyMenu(menu);
    DestroyWindow(window);
    ExitProcess(0);
}
