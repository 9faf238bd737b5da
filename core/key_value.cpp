#include "core/key_value.h"

namespace mvorbel {

KeyValue SplitKeyValue(std::string_view line) {
    if (auto equals = line.find('='); equals != std::string_view::npos) {
        return {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
    }
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0;
    std::size_t last = line.size();
    while (first < last && isBlank(line[first])) ++first;
    while (last > first && isBlank(line[last - 1])) --last;
    return {std::string(line.substr(first, last - first)), std::string()};
}

std::string LowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

std::string UpperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

std::string_view FileNamePart(std::string_view path) {
    auto separator = path.rfind('\\');
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace mvorbel
