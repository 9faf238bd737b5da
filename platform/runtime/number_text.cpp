#include "platform/runtime/number_text.h"

namespace mvorbel {
namespace {

// Digits are produced last first; this puts them in reading order.
NumberText Reversed(const char* reversed, std::size_t size) {
    NumberText text;
    for (std::size_t i = 0; i < size; ++i) text.digits[i] = reversed[size - 1 - i];
    text.size = size;
    return text;
}

}  // namespace

NumberText Decimal(std::uint32_t value) {
    char reversed[sizeof NumberText{}.digits];
    std::size_t size = 0;
    do {
        reversed[size++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return Reversed(reversed, size);
}

NumberText Hex(std::uintptr_t value, int width) {
    constexpr int kMaxDigits = 2 * sizeof(std::uintptr_t);
    if (width > kMaxDigits) width = kMaxDigits;
    char reversed[sizeof NumberText{}.digits];
    std::size_t size = 0;
    do {
        reversed[size++] = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (size < static_cast<std::size_t>(width)) reversed[size++] = '0';
    return Reversed(reversed, size);
}

}  // namespace mvorbel
