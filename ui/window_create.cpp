// Creating the platform window: the class is registered once per name, with EntryWindowProc as
// its procedure, and the new window is tied to its object by its first message.
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel {

WindowObject* creatingWindow = nullptr;

namespace {

// The class bits that would share one device context or make the class global; a framework
// class keeps none of them, whatever the base class had.
constexpr UINT kClassStyleKept = 0xFFFFBF1F;

// The platform calls take the name from a fixed buffer; class names stay under 64 characters.
struct ClassName {
    char text[64] = {};
};

ClassName MakeClassName(const char* baseClassName) {
    ClassName name;
    const char* parts[] = {"obj_", baseClassName != nullptr ? baseClassName : ""};
    std::size_t size = 0;
    for (const char* part : parts) {
        while (*part != '\0' && size + 1 < sizeof name.text) name.text[size++] = *part++;
    }
    return name;
}

}  // namespace

bool WindowObject::CreateHandle() {
    if (parent != nullptr && parent->GetHandle() == nullptr) return false;
    if (handle != nullptr) {
        CreateChildHandles();
        if (showPending) {
            ChangeVisibility(true);
            showPending = false;
        }
        return true;
    }

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = baseWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    const ClassName className = MakeClassName(baseClassName);

    int x = bounds.left;
    int y = bounds.top;
    if (!isControl && (positionSet & 3) == 0) x = y = CW_USEDEFAULT;
    int width = bounds.right - bounds.left;
    int height = bounds.bottom - bounds.top;
    if (width == 0) width = CW_USEDEFAULT;
    if (height == 0) height = CW_USEDEFAULT;
    const HWND parentWindow = GetParentHandle(true);

    if (baseClassName != nullptr) {
        if (WNDCLASSA baseClass = {}; GetClassInfoA(instance, baseClassName, &baseClass)) windowClass = baseClass;
        windowClass.hInstance = instance;
        windowClass.style &= kClassStyleKept;
    }
    if (baseWindowProc == nullptr) baseWindowProc = windowClass.lpfnWndProc;
    if (parentWindow == nullptr && (style & WS_CHILD) != 0) return false;

    if (WNDCLASSA registered = {}; !GetClassInfoA(windowClass.hInstance, className.text, &registered)) {
        windowClass.lpszClassName = className.text;
        windowClass.lpfnWndProc = EntryWindowProc;
        if (RegisterClassA(&windowClass) == 0) return false;
    }

    // The window's first message arrives before CreateWindowExA returns; it finds its object here.
    creatingWindow = this;
    handle = CreateWindowExA(exStyle, className.text, caption.c_str(), style, x, y, width, height, parentWindow,
                             mainMenuHandle, instance, nullptr);
    if (handle == nullptr) {
        creatingWindow = nullptr;
        return false;
    }
    SendMessageA(handle, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (GetPropA(handle, kSelfProperty) == nullptr) {
        creatingWindow = nullptr;
        SetPropA(handle, kSelfProperty, this);
    }
    if (!isControl) SendMessageToSelf(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(GetIcon()));
    CreateChildHandles();
    return true;
}

}  // namespace mvorbel
