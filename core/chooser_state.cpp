#include "core/chooser_state.h"

namespace mvorbel {

constinit ChooserState chooserState;

}  // namespace mvorbel
