#pragma once
// Code pages (kernel32's national language support): the system's ANSI code page, which the
// single-byte calls take their bytes in, and the conversions between it and UTF-16. winsim knows
// Windows-1251 (Cyrillic), Windows-1252 (Western) and UTF-8; the ANSI code page is one of the
// first two, chosen by the test (winsim::SetAnsiCodePage).
#include "platform/winsim/base/base.h"

#define CP_ACP 0
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define ERROR_INVALID_FLAGS 1004L

UINT WINAPI GetACP();

// Lengths of -1 take the text up to and with its terminating zero. A destination size of 0 asks
// for the size needed; a destination too small fails with ERROR_INSUFFICIENT_BUFFER. A code page
// winsim does not know, a source length of 0 and overlapping buffers fail with
// ERROR_INVALID_PARAMETER; flags other than 0 (and MB_PRECOMPOSED, which changes nothing for
// these code pages) fail with ERROR_INVALID_FLAGS. Every byte of 1251 and 1252 has a character:
// the few the code page leaves undefined become the C1 control of the same number, as on Windows.
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR wide,
                               int wideSize);
// A character the code page lacks becomes the default character ('?', or *defaultChar) and sets
// *usedDefaultChar; for CP_UTF8 both must be null. winsim has none of Windows' best-fit mappings
// (which turn some letters the code page lacks into similar ones): it always converts as
// WC_NO_BEST_FIT_CHARS asks, the one flag it takes; others fail with ERROR_INVALID_FLAGS.
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideLength, LPSTR text,
                               int size, LPCCH defaultChar, LPBOOL usedDefaultChar);
