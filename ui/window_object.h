#pragma once
// A WindowObject wraps one platform window. It keeps the window's description while no platform
// window exists, creates the window on demand, maps every message of it back to the object and
// offers the message to the attached handlers (newest first) before its own built-in handling.
#include <cstdint>

#include "platform/runtime/string.h"
#include "platform/win32.h"
#include "ui/object_base.h"
#include "ui/object_list.h"
#include "ui/unique_handle.h"

namespace mvorbel {

class MenuObject;
class WindowObject;

// (window, message record, result initialised to 0) -> handled. A handler that returns true
// finishes the message with the result it stored.
using MessageHandler = bool (*)(WindowObject* window, MSG& message, LRESULT* result);

class WindowObject : public ObjectBase {
public:
    // Slot 0: the default field values.
    void Setup() override;
    // Slot 1: releases everything the window owns, the platform window included, then itself.
    void Dispose() override;
    // Slot 2: Setup, the parent's colour and children list, the arrow cursor.
    virtual void SetupWithParent(WindowObject* parent);
    // Slot 3: creates the platform window when it does not exist yet.
    virtual bool CreateHandle();
    // Slot 4: handles one message of this window.
    virtual LRESULT WindowProc(MSG& message);

    HWND GetHandle();
    void SetCaption(const char* text);
    bool GetVisible();
    void SetVisible(bool value);
    void ShowInForeground();
    RECT GetBoundsRect();
    void SetBoundsRect(const RECT& rect);
    void SetLeft(LONG x);
    void SetTop(LONG y);
    LONG GetTop();
    void SetPosition(LONG x, LONG y);
    void SetWidth(LONG width);
    void SetHeight(LONG height);
    void SetSize(LONG width, LONG height);
    void Invalidate();
    LRESULT SendMessageToSelf(UINT message, WPARAM wParam, LPARAM lParam);
    void AttachHandler(MessageHandler handler);
    bool IsHandlerAttached(MessageHandler handler) const;
    void SetMenuHandle(HMENU menu);
    HICON GetIcon();
    LRESULT DefaultProcessing(const MSG& message);
    bool IsMainWindow() const;
    bool FocusIfPossible();
    HWND GetParentHandle(bool create);
    void CreateChildHandles();
    void FreeChildren();
    HBRUSH GetBackgroundBrush();
    // The menu is tracked where WM_CONTEXTMENU asks; it stays one of the menus of the chain.
    void SetContextMenu(MenuObject* menu);

    HWND handle = nullptr;
    DWORD classStyle = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    HCURSOR cursor = nullptr;
    // 0: not determined yet; all bits set: no icon.
    HICON icon = nullptr;
    // Empty means no caption.
    String caption;
    int savedShowCommand = 0;
    // Procedure of the base system class whose behaviour the window inherits; null = DefWindowProcA.
    WNDPROC baseWindowProc = nullptr;
    WindowObject* parent = nullptr;
    bool visible = false;
    bool focusable = false;
    ObjectList* children = nullptr;
    UniqueBrush backgroundBrush;
    COLORREF backgroundRgb = 0;
    // Not owned: the menus own their handles and unlink themselves from here.
    HMENU mainMenuHandle = nullptr;
    MenuObject* mainMenu = nullptr;
    bool isControl = false;
    // Bit 0: left set explicitly; bit 1: top set explicitly.
    std::uint8_t positionSet = 0;
    // Pairs (handler, data); data is always null.
    ObjectList* handlers = nullptr;
    MenuObject* contextMenu = nullptr;
    const char* baseClassName = nullptr;
    // High bit set: the low byte is a system colour index.
    DWORD color = 0;
    RECT bounds = {};
    bool visibilitySet = false;
    bool showPending = false;

private:
    void ChangeVisibility(bool value);
    LRESULT BuiltInProcessing(MSG& message);
    LRESULT KeyboardProcessing(MSG& message);
};

// A top-level form of the base class "Form"; no platform window exists until it is needed.
WindowObject* NewForm(WindowObject* parent, const char* caption);
// Allocated as NewObject does, but set up through SetupWithParent.
WindowObject* NewWindowObject(WindowObject* parent, const char* baseClassName);

// Attached to every form: paints the background on WM_ERASEBKGND, then lets the message go on.
bool BackgroundHandler(WindowObject* window, MSG& message, LRESULT* result);
// Attached by SetContextMenu: tracks the context menu where WM_CONTEXTMENU asks.
bool ContextMenuHandler(WindowObject* window, MSG& message, LRESULT* result);

// The window procedure of every class the framework registers.
LRESULT CALLBACK EntryWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The object whose CreateWindowExA call is in progress; its first message claims it.
extern WindowObject* creatingWindow;

// The property every framework window carries; its value is the object's address.
inline constexpr const char* kSelfProperty = "SELF_";

// A colour with its high bit set names a system colour by its low byte.
COLORREF ColorToRGB(DWORD color);

}  // namespace mvorbel
