#pragma once
// System: version, processes and tool-help, tokens and privileges, power, modules, message box.
#include "platform/winsim/base/base.h"
#include "platform/winsim/system/version.h"
