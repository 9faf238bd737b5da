// Built with -fno-builtin: the compiler would otherwise turn these loops back into calls of
// memcpy and memset, which on Windows are these very functions.
#include "platform/runtime/memory.h"

#include "platform/runtime/fatal_error.h"
#include "platform/win32.h"

namespace mvorbel {
namespace {

[[noreturn]] __attribute__((noinline)) void OutOfMemory(const void* address) {
    FatalError("EOutOfMemory", address, "Out of memory");
}

}  // namespace

__attribute__((noinline)) void* Allocate(std::size_t size) {
    void* block = HeapAlloc(GetProcessHeap(), 0, size);
    if (block == nullptr) OutOfMemory(__builtin_extract_return_addr(__builtin_return_address(0)));
    return block;
}

__attribute__((noinline)) void* Reallocate(void* block, std::size_t size) {
    void* resized = block == nullptr ? HeapAlloc(GetProcessHeap(), 0, size)
                                     : HeapReAlloc(GetProcessHeap(), 0, block, size);
    if (resized == nullptr) OutOfMemory(__builtin_extract_return_addr(__builtin_return_address(0)));
    return resized;
}

void Free(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void* MemCopy(void* target, const void* source, std::size_t size) {
    auto* to = static_cast<unsigned char*>(target);
    const auto* from = static_cast<const unsigned char*>(source);
    while (size-- != 0) *to++ = *from++;
    return target;
}

void* MemMove(void* target, const void* source, std::size_t size) {
    auto* to = static_cast<unsigned char*>(target);
    const auto* from = static_cast<const unsigned char*>(source);
    if (to <= from || to >= from + size) return MemCopy(target, source, size);
    while (size-- != 0) to[size] = from[size];
    return target;
}

void* MemFill(void* target, int value, std::size_t size) {
    auto* to = static_cast<unsigned char*>(target);
    while (size-- != 0) *to++ = static_cast<unsigned char>(value);
    return target;
}

int MemCompare(const void* left, const void* right, std::size_t size) {
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    for (; size != 0; --size, ++a, ++b) {
        if (*a != *b) return *a < *b ? -1 : 1;
    }
    return 0;
}

const void* MemFind(const void* block, int value, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(block);
    for (; size != 0; --size, ++p) {
        if (*p == static_cast<unsigned char>(value)) return p;
    }
    return nullptr;
}

std::size_t BoundedTextLength(const char* text, std::size_t limit) {
    const void* zero = MemFind(text, 0, limit);
    return zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : limit;
}

std::size_t TextLength(const char* text) {
    std::size_t length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

}  // namespace mvorbel
