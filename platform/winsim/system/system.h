#pragma once
// System: version, processes and tool-help, the registry, tokens and privileges, power, modules,
// command line and system directory, message box.
#include "platform/winsim/base/base.h"
#include "platform/winsim/system/environment.h"
#include "platform/winsim/system/heap.h"
#include "platform/winsim/system/message_box.h"
#include "platform/winsim/system/modules.h"
#include "platform/winsim/system/power.h"
#include "platform/winsim/system/processes.h"
#include "platform/winsim/system/registry.h"
#include "platform/winsim/system/security.h"
#include "platform/winsim/system/toolhelp.h"
#include "platform/winsim/system/version.h"
