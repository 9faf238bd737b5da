#pragma once
// The process heap: blocks that live until freed or until the process ends.
#include "platform/winsim/base/base.h"

#define HEAP_NO_SERIALIZE 0x00000001
#define HEAP_GENERATE_EXCEPTIONS 0x00000004
#define HEAP_ZERO_MEMORY 0x00000008
#define HEAP_REALLOC_IN_PLACE_ONLY 0x00000010

HANDLE WINAPI GetProcessHeap();
// Null on failure, without setting the last error (unless HEAP_GENERATE_EXCEPTIONS, not modelled).
LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
// Null on failure, the old block left as it was.
LPVOID WINAPI HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes);
// Freeing a null block succeeds. A block the heap never gave out corrupts it: the process dies.
BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID block);
