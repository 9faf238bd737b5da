// Painting: invalidation, WM_PAINT and erasing, device contexts, brushes and system colours.
#include <algorithm>

#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

DeviceContext* FindDc(HDC dc) {
    auto& dcs = St().dcs;
    auto found = dcs.find(dc);
    return found == dcs.end() ? nullptr : &found->second;
}

void MarkDirty(Window& w, bool erase) {
    if (!IsWindowVisible(w.handle)) return;
    w.needsPaint = true;
    if (erase) w.erasePending = true;
}

}  // namespace

namespace winsim::ui {

HDC NewDc(HWND window, bool own) {
    HDC dc = NewHandle<HDC>();
    DeviceContext context;
    context.window = window;
    context.own = own;
    St().dcs[dc] = context;
    return dc;
}

void ForgetWindowDcs(HWND window) {
    std::erase_if(St().dcs, [window](const auto& entry) { return entry.second.window == window; });
}

// Showing a window erases its background at once, before WM_PAINT is queued.
void EraseNow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w || !w->erasePending || !IsWindowVisible(hwnd)) return;
    Send(hwnd, WM_NCPAINT, 1, 0);
    if (!Find(hwnd)) return;
    HDC dc = GetDC(hwnd);
    LRESULT erased = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if (Find(hwnd)) ReleaseDC(hwnd, dc);
    if ((w = Find(hwnd)) && erased) w->erasePending = false;
}

// What an unhandled WM_PAINT does: the window is valid again, its background erased if due.
void PaintDefault(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    HDC dc = GetDC(hwnd);
    w->needsPaint = false;
    if (w->erasePending) {
        w->erasePending = false;
        Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    }
    ReleaseDC(hwnd, dc);
}

// The system's brushes for its colours: made on first use, never freed.
HBRUSH SysColorBrush(int index) {
    auto& state = St();
    if (index < 0 || static_cast<std::size_t>(index) >= state.sysColors.size()) return nullptr;
    auto& brush = state.sysColorBrushes[index];
    if (!brush) brush = NewHandle<HBRUSH>();
    return brush;
}

COLORREF BrushColor(HBRUSH brush, bool* valid) {
    auto& state = St();
    *valid = true;
    if (auto found = state.brushes.find(brush); found != state.brushes.end()) return found->second;
    for (auto& [index, stock] : state.sysColorBrushes)
        if (stock == brush) return GetSysColor(index);
    // A class background may be given as a system colour index plus one.
    auto value = reinterpret_cast<ULONG_PTR>(brush);
    if (value >= 1 && value <= state.sysColors.size()) return state.sysColors[value - 1];
    *valid = false;
    return 0;
}

}  // namespace winsim::ui

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* /*rect*/, BOOL erase) {
    if (!hwnd) {
        for (HWND each : std::vector<HWND>(St().windowOrder))
            if (Window* w = Find(each)) {
                MarkDirty(*w, true);
                EraseNow(each);
            }
        return TRUE;
    }
    Window* w = FindOrFail(hwnd);
    if (!w) return FALSE;
    MarkDirty(*w, erase != FALSE);
    return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) {
    if (!hwnd) return NewDc(nullptr, false);
    Window* w = FindOrFail(hwnd);
    if (!w) return nullptr;
    return w->ownDc ? w->ownDc : NewDc(hwnd, false);
}

int WINAPI ReleaseDC(HWND /*hwnd*/, HDC dc) {
    DeviceContext* context = FindDc(dc);
    if (!context) return 0;
    if (!context->own) St().dcs.erase(dc);
    return 1;
}

DWORD WINAPI GetSysColor(int index) {
    auto& colors = St().sysColors;
    if (index < 0 || static_cast<std::size_t>(index) >= colors.size()) return 0;
    return colors[static_cast<std::size_t>(index)];
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    if (winsim::detail::FailsNow("CreateSolidBrush")) return nullptr;
    HBRUSH brush = NewHandle<HBRUSH>();
    St().brushes[brush] = color;
    return brush;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    auto& state = St();
    if (state.brushes.erase(static_cast<HBRUSH>(object))) return TRUE;
    // Stock objects may be "deleted"; they stay.
    for (auto& [index, stock] : state.sysColorBrushes)
        if (stock == object) return TRUE;
    return FALSE;
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* context = FindDc(dc);
    bool valid = false;
    COLORREF color = BrushColor(brush, &valid);
    if (!context || !rect || !valid) return 0;
    St().fills.push_back({dc, context->window, *rect, color, context->bkMode, context->bkColor, context->brushOrigin});
    return 1;
}

int WINAPI SetBkMode(HDC dc, int mode) {
    DeviceContext* context = FindDc(dc);
    if (!context) return 0;
    if (mode != OPAQUE && mode != TRANSPARENT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = context->bkMode;
    context->bkMode = mode;
    return previous;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* context = FindDc(dc);
    if (!context) return CLR_INVALID;
    COLORREF previous = context->bkColor;
    context->bkColor = color;
    return previous;
}

BOOL WINAPI SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    DeviceContext* context = FindDc(dc);
    if (!context) return FALSE;
    if (previous) *previous = context->brushOrigin;
    context->brushOrigin = {x, y};
    return TRUE;
}

namespace winsim {

void SetSysColor(int index, COLORREF color) {
    auto& colors = ui::St().sysColors;
    if (index >= 0 && static_cast<std::size_t>(index) < colors.size()) colors[static_cast<std::size_t>(index)] = color;
}

std::size_t LiveGdiObjectCount() { return ui::St().brushes.size(); }

const std::vector<Fill>& Fills() { return ui::St().fills; }

}  // namespace winsim
