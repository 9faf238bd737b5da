#pragma once
// The program's one owning string: single-byte text on the process heap, always ending in a zero
// byte so that it can go to the platform as it is. Views (std::string_view) are used to read it.
#include <cstddef>
#include <string_view>

namespace mvorbel {

class String {
 public:
    constexpr String() = default;
    String(const char* text);  // null reads as empty
    String(std::string_view text);
    String(const String& other);
    String(String&& other) noexcept;
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    ~String();

    const char* c_str() const { return data_ != nullptr ? data_ : ""; }
    // For platform records that take a non-const pointer they only read.
    char* data();
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    char operator[](std::size_t index) const { return data_[index]; }
    char& operator[](std::size_t index) { return data_[index]; }
    char back() const { return data_[size_ - 1]; }
    operator std::string_view() const { return {c_str(), size_}; }
    std::string_view View() const { return *this; }

    String& operator+=(std::string_view text);
    String& operator+=(char c);
    // Keeps the first `size` characters (all of them when there are fewer).
    void Truncate(std::size_t size);
    void clear() { Truncate(0); }

    // Found only where a String takes part: as namespace functions they would turn any two
    // texts into Strings and make comparisons of views with literals ambiguous.
    friend bool operator==(const String& left, std::string_view right) { return left.View() == right; }
    friend bool operator==(const String& left, const String& right) { return left.View() == right.View(); }
    friend bool operator==(const String& left, const char* right) { return left.View() == std::string_view(right); }

 private:
    void Reserve(std::size_t size);

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;  // bytes held, the terminating zero included
};

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
