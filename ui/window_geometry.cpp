// Visibility, position and size: kept in the object while no platform window exists, applied
// to the platform window when there is one.
#include "ui/window_object.h"

namespace mvorbel {

bool WindowObject::GetVisible() {
    if (handle != nullptr && !isControl) visible = IsWindowVisible(handle) != FALSE;
    return visible;
}

void WindowObject::ChangeVisibility(bool value) {
    if (value != GetVisible()) {
        style = value ? (style | WS_VISIBLE) : (style & ~static_cast<DWORD>(WS_VISIBLE));
        visible = value;
        if (handle != nullptr) ShowWindow(handle, value ? SW_SHOW : SW_HIDE);
    }
    if (handle != nullptr && !value) showPending = false;
}

void WindowObject::SetVisible(bool value) {
    visibilitySet = true;
    ChangeVisibility(value);
}

HWND WindowObject::GetHandle() {
    if (handle != nullptr) return handle;
    if (!visibilitySet) {
        // Created on demand, the window must not flash up before its owner asks for it.
        SetVisible(false);
        CreateHandle();
        showPending = true;
    } else {
        CreateHandle();
    }
    return handle;
}

void WindowObject::ShowInForeground() {
    CreateHandle();
    SetVisible(true);
    SetForegroundWindow(handle);
    FocusIfPossible();
}

RECT WindowObject::GetBoundsRect() {
    if (handle != nullptr) GetWindowRect(handle, &bounds);
    return bounds;
}

void WindowObject::SetBoundsRect(const RECT& rect) {
    const RECT current = GetBoundsRect();
    if (rect.left == current.left && rect.top == current.top && rect.right == current.right &&
        rect.bottom == current.bottom) {
        return;
    }
    if (rect.left != current.left) positionSet |= 1;
    if (rect.top != current.top) positionSet |= 2;
    bounds = rect;
    if (handle != nullptr) {
        SetWindowPos(handle, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Invalidate();
    }
}

void WindowObject::SetLeft(LONG x) {
    RECT rect = GetBoundsRect();
    rect.right = x + (rect.right - rect.left);
    rect.left = x;
    SetBoundsRect(rect);
}

void WindowObject::SetTop(LONG y) {
    RECT rect = GetBoundsRect();
    rect.bottom = y + (rect.bottom - rect.top);
    rect.top = y;
    SetBoundsRect(rect);
}

LONG WindowObject::GetTop() { return GetBoundsRect().top; }

void WindowObject::SetPosition(LONG x, LONG y) {
    SetLeft(x);
    SetTop(y);
}

void WindowObject::SetWidth(LONG width) {
    RECT rect = GetBoundsRect();
    rect.right = rect.left + width;
    SetBoundsRect(rect);
}

void WindowObject::SetHeight(LONG height) {
    RECT rect = GetBoundsRect();
    rect.bottom = rect.top + height;
    SetBoundsRect(rect);
}

void WindowObject::SetSize(LONG width, LONG height) {
    if (width > 0) SetWidth(width);
    if (height > 0) SetHeight(height);
}

}  // namespace mvorbel
