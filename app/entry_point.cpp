#include "app/entry_point.h"

#include "core/chooser_run.h"
#include "core/io_error.h"
#include "core/platform_utils.h"
#include "platform/win32.h"
#include "ui/message_loop.h"

namespace mvorbel {

void ShowTopLevelError(const char* className, const void* address, const std::string& message) {
    const std::string text = TopLevelErrorText(className, GetParameter(0), address, message);
    MessageBoxHoldingQuit(text.c_str(), "Application Error", MB_TASKMODAL | MB_ICONERROR);
}

int RunApplication() {
    try {
        BuildMainWindow(chooserObject, nullptr);
        Run(chooserObject->mainWindow);
        // The Main window took the ChooserObject with it.
        chooserObject = nullptr;
        return 0;
    } catch (const InOutError& error) {
        ShowTopLevelError("EInOutError", error.Address(), error.Message());
        return 1;
    }
}

}  // namespace mvorbel
