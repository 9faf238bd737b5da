#pragma once
// Putting an item with its text into a platform menu, and changing it, through the calls that
// show the text as the running family does: the wide-character ones on the NT family, the
// single-byte ones elsewhere.
#include "platform/win32.h"
#include "ui/display_text.h"

namespace mvorbel {

// `info` without its text; dwTypeData and cch are taken from `text`.
BOOL InsertItemWithText(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA info, DisplayText& text);
BOOL SetItemWithText(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA info, DisplayText& text);

}  // namespace mvorbel
