#include "platform/winsim/system/heap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace winsim {
namespace {

const HANDLE kProcessHeap = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x00150000));

struct Heap {
    std::map<void*, SIZE_T> blocks;

    void FreeAll() {
        for (auto& [block, size] : blocks) std::free(block);
        blocks.clear();
    }
};

Heap& TheHeap() {
    // Never destroyed: static objects of the program may still free their blocks at exit.
    static Heap& heap = *new Heap;
    static const bool registered = [] {
        // Both a reset and the end of the process hand every block back.
        OnReset([] { heap.FreeAll(); });
        OnProcessExit([] { heap.FreeAll(); });
        return true;
    }();
    (void)registered;
    return heap;
}

[[noreturn]] void Corrupted(const char* call, void* block) {
    // What Windows does with a block it never gave out: STATUS_HEAP_CORRUPTION ends the process.
    std::fprintf(stderr, "winsim: %s of %p, which the heap never gave out\n", call, block);
    std::abort();
}

bool ValidHeap(HANDLE heap) {
    if (heap == kProcessHeap) return true;
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

}  // namespace

std::size_t LiveHeapBlockCount() { return TheHeap().blocks.size(); }

}  // namespace winsim

HANDLE WINAPI GetProcessHeap() { return winsim::kProcessHeap; }

LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    if (winsim::detail::InjectedFailure("HeapAlloc") || !winsim::ValidHeap(heap)) return nullptr;
    // malloc(0) may give null; a heap block of 0 bytes is still a block.
    void* block = std::malloc(bytes != 0 ? bytes : 1);
    if (block == nullptr) return nullptr;
    if ((flags & HEAP_ZERO_MEMORY) != 0) std::memset(block, 0, bytes);
    winsim::TheHeap().blocks[block] = bytes;
    return block;
}

LPVOID WINAPI HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
    if (winsim::detail::InjectedFailure("HeapReAlloc") || !winsim::ValidHeap(heap)) return nullptr;
    auto& blocks = winsim::TheHeap().blocks;
    auto found = blocks.find(block);
    if (found == blocks.end()) winsim::Corrupted("HeapReAlloc", block);
    const SIZE_T old = found->second;
    if ((flags & HEAP_REALLOC_IN_PLACE_ONLY) != 0 && bytes > old) return nullptr;
    // Always moved, so that code holding on to the old address shows up under the sanitizers.
    void* resized = std::malloc(bytes != 0 ? bytes : 1);
    if (resized == nullptr) return nullptr;
    std::memcpy(resized, block, old < bytes ? old : bytes);
    if ((flags & HEAP_ZERO_MEMORY) != 0 && bytes > old) std::memset(static_cast<char*>(resized) + old, 0, bytes - old);
    std::free(block);
    blocks.erase(found);
    blocks[resized] = bytes;
    return resized;
}

BOOL WINAPI HeapFree(HANDLE heap, DWORD, LPVOID block) {
    if (!winsim::ValidHeap(heap)) return FALSE;
    if (block == nullptr) return TRUE;
    auto& blocks = winsim::TheHeap().blocks;
    auto found = blocks.find(block);
    if (found == blocks.end()) winsim::Corrupted("HeapFree", block);
    std::free(block);
    blocks.erase(found);
    return TRUE;
}
