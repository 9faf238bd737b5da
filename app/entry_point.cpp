#include "app/entry_point.h"

#include "core/chooser_run.h"
#include "ui/message_loop.h"

namespace mvorbel {

int RunApplication() {
    BuildMainWindow(chooserObject, nullptr);
    Run(chooserObject->mainWindow);
    // The Main window took the ChooserObject with it.
    chooserObject = nullptr;
    return 0;
}

}  // namespace mvorbel
