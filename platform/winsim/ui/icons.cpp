// Icons and cursors: the system's shared ones, a module's icon resources, copies.
#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

HICON NewIcon(bool shared) {
    HICON icon = NewHandle<HICON>();
    St().icons[icon] = shared;
    return icon;
}

bool IsSystemCursor(ULONG_PTR id) { return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651); }
bool IsSystemIcon(ULONG_PTR id) { return id >= 32512 && id <= 32518; }

}  // namespace

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    auto id = reinterpret_cast<ULONG_PTR>(name);
    if (instance) {
        // No module of this program carries cursor resources.
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    if (!IS_INTRESOURCE(name) || !IsSystemCursor(id)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto& cursor = St().systemCursors[id];
    if (!cursor) cursor = NewIcon(true);
    return cursor;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    auto& state = St();
    if (!instance) {
        auto id = reinterpret_cast<ULONG_PTR>(name);
        if (!IS_INTRESOURCE(name) || !IsSystemIcon(id)) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        auto& icon = state.systemIcons[id];
        if (!icon) icon = NewIcon(true);
        return icon;
    }
    bool moduleHasIcons = false;
    for (auto& resource : state.iconResources) {
        if (resource.instance != instance) continue;
        moduleHasIcons = true;
        bool match = IS_INTRESOURCE(name)
                         ? resource.name.empty() && resource.id == reinterpret_cast<ULONG_PTR>(name)
                         : !resource.name.empty() && resource.name == Lower(name);
        if (!match) continue;
        // Loading a resource icon again gives the same shared handle.
        if (!resource.icon) resource.icon = NewIcon(true);
        return resource.icon;
    }
    SetLastError(moduleHasIcons ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

HANDLE WINAPI CopyImage(HANDLE image, UINT type, int /*width*/, int /*height*/, UINT flags) {
    if (type != IMAGE_ICON && type != IMAGE_CURSOR) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto& icons = St().icons;
    auto found = icons.find(static_cast<HICON>(image));
    if (found == icons.end()) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return nullptr;
    }
    bool originalShared = found->second;
    HICON copy = NewIcon(false);
    if ((flags & LR_COPYDELETEORG) && !originalShared) icons.erase(static_cast<HICON>(image));
    return copy;
}

BOOL WINAPI DestroyIcon(HICON icon) {
    auto& icons = St().icons;
    auto found = icons.find(icon);
    if (found == icons.end()) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    // A shared icon lives as long as its module; destroying it succeeds and changes nothing.
    if (!found->second) icons.erase(found);
    return TRUE;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR previous = St().cursor;
    St().cursor = cursor;
    return previous;
}

namespace winsim {

void AddIconResource(HINSTANCE instance, const std::string& name) {
    ui::St().iconResources.push_back({instance, ui::Lower(name), 0, nullptr});
}

void AddIconResource(HINSTANCE instance, WORD id) { ui::St().iconResources.push_back({instance, "", id, nullptr}); }

std::size_t LiveIconCount() {
    std::size_t count = 0;
    for (auto& [icon, shared] : ui::St().icons) count += shared ? 0 : 1;
    return count;
}

}  // namespace winsim
