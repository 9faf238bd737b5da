#pragma once
// Owners for the platform handles the framework creates: the handle is closed with the
// platform's own function when its owner goes or when another handle replaces it.
#include <utility>

#include "platform/win32.h"

namespace mvorbel {

template <class Handle, auto Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        Handle old = std::exchange(handle_, handle);
        if (old != nullptr) Close(old);
    }

private:
    Handle handle_ = nullptr;
};

using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteObject>;

}  // namespace mvorbel
