#include "platform/winsim/ui/ui_state.h"

#include <cctype>

#include "platform/winsim/base/base_control.h"

namespace winsim::ui {
namespace {

// The colours of a freshly installed Windows 10, so code that reads them sees plausible values.
constexpr std::array<COLORREF, 31> kDefaultSysColors = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219),
    RGB(240, 240, 240), RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(180, 180, 180), RGB(244, 247, 252),
    RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255), RGB(240, 240, 240),
    RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234),
    RGB(215, 228, 242), RGB(0, 120, 215),   RGB(240, 240, 240)};

State Fresh() {
    State state;
    state.sysColors = kDefaultSysColors;
    state.cursorPos = {512, 384};
    return state;
}

// What a Windows process's end takes with it: its windows and classes, its queue, menus, device
// contexts, brushes and the icons it made. What a test set up or reads back stays.
void DropProcessObjects(State& state) {
    state.classes.clear();
    state.windows.clear();
    state.windowOrder.clear();
    state.focus = state.active = state.capture = nullptr;
    state.posted.clear();
    state.quitPending = false;
    state.quitCode = 0;
    state.menus.clear();
    std::erase_if(state.icons, [](const auto& icon) { return !icon.second; });
    state.brushes.clear();
    state.sysColorBrushes.clear();
    state.dcs.clear();
}

}  // namespace

State& St() {
    static State state = Fresh();
    static const bool registered = [] {
        OnReset([] { state = Fresh(); });
        OnProcessExit([] { DropProcessObjects(state); });
        return true;
    }();
    (void)registered;
    return state;
}

std::string Lower(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace winsim::ui
