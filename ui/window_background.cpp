// The form's background: painted on WM_ERASEBKGND with a solid brush cached per colour.
#include "ui/window_object.h"

namespace mvorbel {

COLORREF ColorToRGB(DWORD color) {
    if ((color & 0x80000000) != 0) return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

bool BackgroundHandler(WindowObject* window, MSG& message, LRESULT* result) {
    if (message.message != WM_ERASEBKGND) return false;
    *result = 1;
    const auto dc = reinterpret_cast<HDC>(message.wParam);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(window->color));
    SetBrushOrgEx(dc, 0, 0, nullptr);
    RECT client = {};
    GetClientRect(window->handle, &client);
    FillRect(dc, &client, window->GetBackgroundBrush());
    // Not handled: default processing still runs, and its result is what the platform gets.
    return false;
}

HBRUSH WindowObject::GetBackgroundBrush() {
    // Windows of one colour share the brush of their topmost ancestor of that colour.
    WindowObject* owner = this;
    while (owner->parent != nullptr && owner->parent->color == color) owner = owner->parent;
    const COLORREF rgb = ColorToRGB(owner->color);
    if (owner->backgroundBrush && rgb != owner->backgroundRgb) owner->backgroundBrush.reset();
    if (!owner->backgroundBrush) {
        owner->backgroundRgb = rgb;
        owner->backgroundBrush.reset(CreateSolidBrush(rgb));
    }
    return owner->backgroundBrush.get();
}

}  // namespace mvorbel
