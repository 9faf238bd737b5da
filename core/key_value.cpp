#include "core/key_value.h"

namespace mvorbel {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

String Folded(std::string_view text, char first, char last) {
    String result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (result[i] >= first && result[i] <= last) result[i] = static_cast<char>(result[i] ^ 0x20);
    }
    return result;
}

}  // namespace

KeyValue SplitKeyValue(std::string_view line) {
    if (auto equals = line.find('='); equals != std::string_view::npos) {
        return {String(Slice(line, 0, equals)), String(Slice(line, equals + 1))};
    }
    std::size_t first = 0;
    std::size_t last = line.size();
    while (first < last && IsBlank(line[first])) ++first;
    while (last > first && IsBlank(line[last - 1])) --last;
    return {String(Slice(line, first, last - first)), String()};
}

String LowerAscii(std::string_view text) { return Folded(text, 'A', 'Z'); }

String UpperAscii(std::string_view text) { return Folded(text, 'a', 'z'); }

std::string_view FileNamePart(std::string_view path) {
    auto separator = path.rfind('\\');
    return separator == std::string_view::npos ? path : Slice(path, separator + 1);
}

}  // namespace mvorbel
