#pragma once
// winsim: the Win32 subset this program uses, implemented in-process for Linux builds and tests.
// The API headers declare the platform's names exactly; the *_control.h headers are the test API.
#include "platform/winsim/base/base.h"
#include "platform/winsim/base/code_pages.h"
#include "platform/winsim/files/files.h"
#include "platform/winsim/system/system.h"
#include "platform/winsim/ui/ui.h"
