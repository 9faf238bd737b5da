#include <deque>
#include <string>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/system_control.h"
#include "platform/winsim/ui/ui.h"

namespace winsim {
namespace {

struct MessageBoxState {
    std::size_t cutShort = 0;
    std::deque<int> queued;
    std::function<int(const MessageBoxCall&)> answerer;
};
MessageBoxState& State() { return detail::AreaState<MessageBoxState>(); }

// What Enter would choose: the default button of the box's button set.
int DefaultButton(UINT type) {
    static const int kButtons[][3] = {
        {IDOK, IDOK, IDOK},          {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL},     {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL},
    };
    UINT set = type & MB_TYPEMASK;
    UINT button = (type & MB_DEFMASK) >> 8;
    if (set > 5) set = 0;
    if (button > 2) button = 0;
    return kButtons[set][button];
}

}  // namespace

std::size_t MessageBoxesCutShort() { return State().cutShort; }

void QueueMessageBoxAnswer(int answer) { State().queued.push_back(answer); }

void AnswerMessageBoxes(std::function<int(const MessageBoxCall&)> answerer) {
    State().answerer = std::move(answerer);
}

}  // namespace winsim

namespace winsim {
namespace {

int Show(const char* function, HWND owner, std::string text, std::string caption, UINT type) {
    if (detail::FailsNow(function)) return 0;
    MessageBoxCall call{owner, std::move(text), std::move(caption), type};
    detail::RecordRequest({function,
                           {std::to_string(reinterpret_cast<ULONG_PTR>(owner)), call.text, call.caption,
                            std::to_string(type)}});
    if (owner && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    auto& state = State();
    // The box's own modal loop meets a pending quit message first: the box closes before the
    // user sees it, with the result every dialog starts with, and the quit message stays pending.
    if (detail::QuitPending()) {
        ++state.cutShort;
        return IDOK;
    }
    if (!state.queued.empty()) {
        int answer = state.queued.front();
        state.queued.pop_front();
        return answer;
    }
    if (state.answerer) return state.answerer(call);
    return DefaultButton(type);
}

}  // namespace
}  // namespace winsim

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return winsim::Show("MessageBoxA", owner, text ? text : "", caption ? caption : "Error", type);
}

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return winsim::Show("MessageBoxW", owner, winsim::Utf8(text ? text : u""),
                        winsim::Utf8(caption ? caption : u"Error"), type);
}
