#pragma once
// The object every menu command receives: the Main window and its Popup menu.
#include "ui/menu_object.h"
#include "ui/object_base.h"
#include "ui/window_object.h"

namespace mvorbel {

class ChooserObject : public ObjectBase {
public:
    WindowObject* mainWindow = nullptr;
    MenuObject* popupMenu = nullptr;
};

// Null until the Main window is built; the Main window owns the object it refers to.
extern ChooserObject* chooserObject;

}  // namespace mvorbel
