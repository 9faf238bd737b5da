#include "platform/runtime/string.h"

#include <utility>

#include "platform/runtime/memory.h"

namespace mvorbel {

namespace {

template <class Char>
std::size_t Length(const Char* text) {
    std::size_t length = 0;
    while (text[length] != Char{}) ++length;
    return length;
}

}  // namespace

template <class Char>
BasicString<Char>::BasicString(const Char* text) {
    if (text != nullptr) *this += std::basic_string_view<Char>(text, Length(text));
}

template <class Char>
BasicString<Char>::BasicString(std::basic_string_view<Char> text) {
    *this += text;
}

template <class Char>
BasicString<Char>::BasicString(const BasicString& other) {
    *this += other.View();
}

template <class Char>
BasicString<Char>::BasicString(BasicString&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

template <class Char>
BasicString<Char>& BasicString<Char>::operator=(const BasicString& other) {
    if (this != &other) {
        Truncate(0);
        *this += other.View();
    }
    return *this;
}

template <class Char>
BasicString<Char>& BasicString<Char>::operator=(BasicString&& other) noexcept {
    if (this != &other) {
        Free(data_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

template <class Char>
BasicString<Char>::~BasicString() {
    Free(data_);
}

template <class Char>
Char* BasicString<Char>::data() {
    Reserve(size_);
    return data_;
}

template <class Char>
void BasicString<Char>::Reserve(std::size_t size) {
    if (size < capacity_) return;
    // Doubling keeps a line read character by character from costing a copy per character.
    std::size_t capacity = capacity_ < 16 ? 16 : capacity_;
    while (capacity <= size) capacity *= 2;
    data_ = static_cast<Char*>(Reallocate(data_, capacity * sizeof(Char)));
    capacity_ = capacity;
    data_[size_] = Char{};
}

template <class Char>
BasicString<Char>& BasicString<Char>::operator+=(std::basic_string_view<Char> text) {
    if (text.empty()) return *this;
    // The text may be a view of this very string, which Reserve may move.
    const bool own = data_ != nullptr && text.data() >= data_ && text.data() < data_ + size_;
    const std::size_t offset = own ? static_cast<std::size_t>(text.data() - data_) : 0;
    Reserve(size_ + text.size());
    MemMove(data_ + size_, own ? data_ + offset : text.data(), text.size() * sizeof(Char));
    size_ += text.size();
    data_[size_] = Char{};
    return *this;
}

template <class Char>
BasicString<Char>& BasicString<Char>::operator+=(Char c) {
    return *this += std::basic_string_view<Char>(&c, 1);
}

template <class Char>
void BasicString<Char>::Truncate(std::size_t size) {
    if (size >= size_) return;
    size_ = size;
    data_[size_] = Char{};
}

template <class Char>
void BasicString<Char>::Resize(std::size_t size) {
    Truncate(size);
    if (size <= size_) return;
    Reserve(size);
    MemFill(data_ + size_, 0, (size - size_) * sizeof(Char));
    size_ = size;
    data_[size_] = Char{};
}

template class BasicString<char>;
template class BasicString<WCHAR>;

String operator+(std::string_view left, std::string_view right) {
    String joined(left);
    joined += right;
    return joined;
}

}  // namespace mvorbel
