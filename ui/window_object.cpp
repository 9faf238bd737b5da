#include "ui/window_object.h"

#include <utility>

#include "ui/menu_object.h"
#include "ui/message_loop.h"

namespace mvorbel {

namespace {

// The button face colour, a system colour.
constexpr DWORD kButtonFaceColor = 0x80000000 | COLOR_BTNFACE;
// A stored icon of all bits set means "this window has no icon".
const HICON kNoIcon = reinterpret_cast<HICON>(~static_cast<UINT_PTR>(0));

}  // namespace

void WindowObject::Setup() {
    classStyle = CS_OWNDC;
    style = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
            WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    exStyle = WS_EX_CONTROLPARENT;
    visible = true;
    children = NewObjectList();
    handlers = NewObjectList();
    color = kButtonFaceColor;
}

void WindowObject::SetupWithParent(WindowObject* parentWindow) {
    Setup();
    if (parentWindow != nullptr) {
        color = parentWindow->color;
        parent = parentWindow;
        parentWindow->children->Append(ToValue(this));
    }
    cursor = LoadCursorA(nullptr, IDC_ARROW);
}

WindowObject* NewWindowObject(WindowObject* parent, const char* baseClassName) {
    WindowObject* window = AllocateObject<WindowObject>();
    if (window == nullptr) return nullptr;
    window->SetupWithParent(parent);
    window->baseClassName = baseClassName;
    return window;
}

WindowObject* NewForm(WindowObject* parent, const char* caption) {
    WindowObject* form = NewWindowObject(parent, "Form");
    if (form == nullptr) return nullptr;
    form->classStyle |= CS_DBLCLKS;
    form->AttachHandler(EndOfLogonHandler);
    form->AttachHandler(BackgroundHandler);
    form->SetCaption(caption);
    return form;
}

void WindowObject::Dispose() {
    if (handle != nullptr) ShowWindow(handle, SW_HIDE);
    Finalise();
    FreeChildren();
    // The menus go even when no platform window was ever made; they own their handles.
    contextMenu = nullptr;
    ObjectBase::Release(std::exchange(mainMenu, nullptr));
    if (handle != nullptr) {
        if (IsWindow(handle)) {
            // The window hands back the icon it was given; destroying it is ours to do.
            const auto oldIcon = reinterpret_cast<HICON>(SendMessageA(handle, WM_SETICON, ICON_BIG, 0));
            if (oldIcon != nullptr) DestroyIcon(oldIcon);
            DestroyWindow(handle);
        }
        handle = nullptr;
    }
    caption.clear();
    if (parent != nullptr) parent->children->RemoveValue(ToValue(this));
    backgroundBrush.reset();
    ObjectBase::Release(std::exchange(handlers, nullptr));
    ObjectBase::Release(std::exchange(children, nullptr));
    ObjectBase::Dispose();
}

void WindowObject::SetCaption(const char* text) {
    caption = text != nullptr ? text : "";
    if (handle != nullptr) {
        SetWindowTextA(handle, caption.c_str());
        Invalidate();
    }
}

void WindowObject::Invalidate() {
    if (!terminated && handle != nullptr) InvalidateRect(handle, nullptr, TRUE);
}

LRESULT WindowObject::SendMessageToSelf(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(GetHandle(), message, wParam, lParam);
}

void WindowObject::AttachHandler(MessageHandler handler) {
    if (IsHandlerAttached(handler)) return;
    handlers->Append(ToValue(handler));
    handlers->Append(0);
}

bool WindowObject::IsHandlerAttached(MessageHandler handler) const {
    return handlers->Find(ToValue(handler)) >= 0;
}

void WindowObject::SetMenuHandle(HMENU menu) {
    if (menu == mainMenuHandle) return;
    if (mainMenuHandle != nullptr) DestroyMenu(mainMenuHandle);
    mainMenuHandle = menu;
    if (handle != nullptr) SetMenu(handle, menu);
}

HICON WindowObject::GetIcon() {
    if (icon == kNoIcon) return nullptr;
    if (icon != nullptr) return icon;
    if (applicationWindow == nullptr) return nullptr;
    if (this == applicationWindow) {
        icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    } else if (HICON shared = applicationWindow->GetIcon(); shared != nullptr) {
        icon = static_cast<HICON>(CopyImage(shared, IMAGE_ICON, 0, 0, 0));
    }
    return icon;
}

bool WindowObject::IsMainWindow() const {
    if (parent == nullptr) return true;
    return parent->parent == nullptr && parent->children->At(0) == ToValue(this);
}

bool WindowObject::FocusIfPossible() {
    if (!IsWindowEnabled(handle) || !focusable) return false;
    SetFocus(handle);
    return true;
}

HWND WindowObject::GetParentHandle(bool create) {
    if (parent == nullptr) return nullptr;
    if (create) parent->GetHandle();
    return parent->handle;
}

void WindowObject::CreateChildHandles() {
    for (int i = 0; i < children->count; ++i) FromValue<WindowObject*>(children->At(i))->CreateHandle();
}

void WindowObject::FreeChildren() {
    // A child removes itself from `children` as it goes, so each slot is read afresh.
    for (int i = children->count - 1; i >= 0; --i) ObjectBase::Release(FromValue<WindowObject*>(children->At(i)));
    children->Empty();
}

}  // namespace mvorbel
