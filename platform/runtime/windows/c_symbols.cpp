// The C names the compiler itself calls (struct copies and zeroing, string views), and the hooks
// of static objects, served by the program's own runtime: the exe links no C runtime.
#include <cstddef>

#include "platform/runtime/memory.h"

extern "C" {

void* memcpy(void* target, const void* source, std::size_t size) {
    return mvorbel::MemCopy(target, source, size);
}
void* memmove(void* target, const void* source, std::size_t size) {
    return mvorbel::MemMove(target, source, size);
}
void* memset(void* target, int value, std::size_t size) { return mvorbel::MemFill(target, value, size); }
int memcmp(const void* left, const void* right, std::size_t size) {
    return mvorbel::MemCompare(left, right, size);
}
void* memchr(const void* block, int value, std::size_t size) {
    return const_cast<void*>(mvorbel::MemFind(block, value, size));
}
std::size_t strlen(const char* text) { return mvorbel::TextLength(text); }

// Destructors of static objects are registered here. The process ends with ExitProcess, which
// hands the whole heap back; there is nothing left for them to do.
int atexit(void (*)()) { return 0; }

}  // extern "C"
