#pragma once
// Numbers as text, without the heap: the error box needs them when the heap is exhausted.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mvorbel {

struct NumberText {
    char digits[2 * sizeof(std::uintptr_t) + 4] = {};
    std::size_t size = 0;
    std::string_view View() const { return {digits, size}; }
};

NumberText Decimal(std::uint32_t value);
// Upper-case hex, zero-padded to at least `width` digits (at most a pointer's).
NumberText Hex(std::uintptr_t value, int width);

}  // namespace mvorbel
