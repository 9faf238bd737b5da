#include "core/chooser_state.h"

namespace mvorbel {

ChooserState chooserState;

}  // namespace mvorbel
