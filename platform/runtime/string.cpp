#include "platform/runtime/string.h"

#include <utility>

#include "platform/runtime/memory.h"

namespace mvorbel {

String::String(const char* text) {
    if (text != nullptr) *this += std::string_view(text, TextLength(text));
}

String::String(std::string_view text) { *this += text; }

String::String(const String& other) { *this += other.View(); }

String::String(String&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

String& String::operator=(const String& other) {
    if (this != &other) {
        Truncate(0);
        *this += other.View();
    }
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        Free(data_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

String::~String() { Free(data_); }

char* String::data() {
    Reserve(size_);
    return data_;
}

void String::Reserve(std::size_t size) {
    if (size < capacity_) return;
    // Doubling keeps a line read character by character from costing a copy per character.
    std::size_t capacity = capacity_ < 16 ? 16 : capacity_;
    while (capacity <= size) capacity *= 2;
    data_ = static_cast<char*>(Reallocate(data_, capacity));
    capacity_ = capacity;
    data_[size_] = '\0';
}

String& String::operator+=(std::string_view text) {
    if (text.empty()) return *this;
    // The text may be a view of this very string, which Reserve may move.
    const bool own = data_ != nullptr && text.data() >= data_ && text.data() < data_ + size_;
    const std::size_t offset = own ? static_cast<std::size_t>(text.data() - data_) : 0;
    Reserve(size_ + text.size());
    MemMove(data_ + size_, own ? data_ + offset : text.data(), text.size());
    size_ += text.size();
    data_[size_] = '\0';
    return *this;
}

String& String::operator+=(char c) { return *this += std::string_view(&c, 1); }

void String::Truncate(std::size_t size) {
    if (size >= size_) return;
    size_ = size;
    data_[size_] = '\0';
}

String operator+(std::string_view left, std::string_view right) {
    String joined(left);
    joined += right;
    return joined;
}

}  // namespace mvorbel
