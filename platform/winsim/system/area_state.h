#pragma once
// Each area of the system keeps its own state, created on first use and returned to its start
// by winsim::Reset.
#include "platform/winsim/base/base_control.h"

namespace winsim::detail {

template <class State>
State& AreaState() {
    static State state;
    static const bool registered = (OnReset([] { state = State{}; }), true);
    (void)registered;
    return state;
}

}  // namespace winsim::detail
