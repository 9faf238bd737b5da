#pragma once
// Owner of a kernel handle closed with CloseHandle (files, tokens, snapshots, processes): closes
// it once, on Reset or destruction. Both failure values (null, INVALID_HANDLE_VALUE) count as none.
#include <utility>

#include "platform/win32.h"

namespace mvorbel {

class KernelHandle {
 public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    ~KernelHandle() { Reset(); }

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // Gives up ownership without closing (the caller closes and checks the result).
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    void Reset() {
        if (Valid()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

 private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace mvorbel
