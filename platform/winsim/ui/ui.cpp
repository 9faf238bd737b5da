#include "platform/winsim/ui/ui.h"
