#pragma once
// The program's code run as a process of its own on winsim: a fresh start, and a step that may
// end the process (an error box, then ExitProcess) caught where the test can look at it.
#include <functional>
#include <new>
#include <optional>
#include <string>

#include "core/chooser_object.h"
#include "core/chooser_state.h"
#include "core/tool_help.h"
#include "platform/win32.h"
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel::testing {

// What a process start gives: winsim as new, and the program's process-wide state as the loader
// leaves it. The heap of the process before is gone, so the chooser state is made anew over the
// memory it had, not destroyed.
inline void StartProcess() {
    winsim::Reset();
    new (&chooserState) ChooserState();
    applicationWindow = creatingWindow = nullptr;
    chooserObject = nullptr;
    terminated = false;
    ForgetToolHelpTable();
}

// The exit code when the step ended the process, nothing when it returned.
inline std::optional<UINT> ExitCodeOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const winsim::ProcessExit& exit) {
        return exit.code;
    }
    return std::nullopt;
}

// What the step raised: the message line of the "Application Error" box that ended the process
// with exit code 1 ("File not found."), or "" when the step returned.
inline std::string Raised(const std::function<void()>& step) {
    const std::optional<UINT> code = ExitCodeOf(step);
    if (!code) return "";
    const auto& requests = winsim::Requests();
    if (*code != 1 || requests.empty() || requests.back().call != "MessageBoxA" ||
        requests.back().args.at(2) != "Application Error") {
        return "exit code " + std::to_string(*code) + " without the error box";
    }
    const std::string& text = requests.back().args.at(1);
    return text.substr(text.find('\n') + 1);
}

}  // namespace mvorbel::testing
