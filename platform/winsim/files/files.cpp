#include "platform/winsim/files/files.h"
