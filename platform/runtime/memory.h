#pragma once
// The program's memory: blocks of the process heap, and the byte operations the rest of the
// program (and, on Windows, the compiler's own calls to memcpy and friends) are built on.
#include <cstddef>

namespace mvorbel {

// A block of at least `size` bytes. Never null: when the heap refuses, the program ends in the
// runtime's "Out of memory" error box.
void* Allocate(std::size_t size);
// Grows or shrinks a block (null: a new one), keeping its first bytes. Never null, as Allocate.
void* Reallocate(void* block, std::size_t size);
// Null-safe.
void Free(void* block);

void* MemCopy(void* target, const void* source, std::size_t size);
// Overlapping ranges are copied as if through a buffer.
void* MemMove(void* target, const void* source, std::size_t size);
void* MemFill(void* target, int value, std::size_t size);
// <0, 0, >0 as the first differing byte, taken unsigned, is smaller, equal or greater.
int MemCompare(const void* left, const void* right, std::size_t size);
// The first byte equal to `value` within size bytes, or null.
const void* MemFind(const void* block, int value, std::size_t size);
std::size_t TextLength(const char* text);
// The length up to the first zero byte, at most `limit`: for buffers the platform may leave
// unterminated.
std::size_t BoundedTextLength(const char* text, std::size_t limit);

}  // namespace mvorbel
