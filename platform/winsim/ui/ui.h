#pragma once
// User interface: classes, windows, properties, the thread's queue, menus, keys, cursor, GDI.
#include "platform/winsim/base/base.h"
