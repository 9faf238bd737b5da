#pragma once
// The process table shared by the process calls and tool-help snapshots.
#include <vector>

#include "platform/winsim/system/system_control.h"

namespace winsim::detail {

std::vector<Process>& ProcessTable();

}  // namespace winsim::detail
