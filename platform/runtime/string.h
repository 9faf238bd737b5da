#pragma once
// The program's owning strings: text on the process heap, always ending in a zero unit so that it
// can go to the platform as it is. String holds single bytes, WideString UTF-16 units for the
// wide-character calls. Views (std::string_view, WideView) are used to read them.
#include <cstddef>
#include <string_view>

#include "platform/win32.h"

namespace mvorbel {

template <class Char>
class BasicString {
 public:
    constexpr BasicString() = default;
    BasicString(const Char* text);  // null reads as empty
    BasicString(std::basic_string_view<Char> text);
    BasicString(const BasicString& other);
    BasicString(BasicString&& other) noexcept;
    BasicString& operator=(const BasicString& other);
    BasicString& operator=(BasicString&& other) noexcept;
    ~BasicString();

    const Char* c_str() const { return data_ != nullptr ? data_ : kEmpty; }
    // For platform records that take a non-const pointer they only read.
    Char* data();
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Char operator[](std::size_t index) const { return data_[index]; }
    Char& operator[](std::size_t index) { return data_[index]; }
    Char back() const { return data_[size_ - 1]; }
    operator std::basic_string_view<Char>() const { return {c_str(), size_}; }
    std::basic_string_view<Char> View() const { return *this; }

    BasicString& operator+=(std::basic_string_view<Char> text);
    BasicString& operator+=(Char c);
    // Keeps the first `size` units (all of them when there are fewer).
    void Truncate(std::size_t size);
    // Holds exactly `size` units: cut, or grown with zero units for the platform to fill.
    void Resize(std::size_t size);
    void clear() { Truncate(0); }

    // Found only where a string takes part: as namespace functions they would turn any two
    // texts into strings and make comparisons of views with literals ambiguous.
    friend bool operator==(const BasicString& left, std::basic_string_view<Char> right) {
        return left.View() == right;
    }
    friend bool operator==(const BasicString& left, const BasicString& right) { return left.View() == right.View(); }
    friend bool operator==(const BasicString& left, const Char* right) {
        return left.View() == std::basic_string_view<Char>(right);
    }

 private:
    void Reserve(std::size_t size);

    static constexpr Char kEmpty[1] = {};
    Char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;  // units held, the terminating zero included
};

using String = BasicString<char>;
using WideString = BasicString<WCHAR>;
using WideView = std::basic_string_view<WCHAR>;

extern template class BasicString<char>;
extern template class BasicString<WCHAR>;

// Characters from `position` on, at most `count` of them; empty past the end. Unlike
// string_view::substr it never raises, which a program without exceptions can't afford.
constexpr std::string_view Slice(std::string_view text, std::size_t position,
                                 std::size_t count = std::string_view::npos) {
    if (position > text.size()) position = text.size();
    const std::size_t rest = text.size() - position;
    return {text.data() + position, count < rest ? count : rest};
}

String operator+(std::string_view left, std::string_view right);

}  // namespace mvorbel
