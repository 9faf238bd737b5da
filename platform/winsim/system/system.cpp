#include "platform/winsim/system/system.h"
