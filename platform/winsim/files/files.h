#pragma once
// Files: CreateFileA and friends on drives mapped to host folders.
#include "platform/winsim/base/base.h"
