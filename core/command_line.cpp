#include "core/platform_utils.h"

namespace mvorbel {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

String CommandLineParameter(std::string_view commandLine, int index) {
    std::size_t pos = 0;
    const std::size_t end = commandLine.size();
    std::string_view parameter;
    for (int current = 0; current <= index; ++current) {
        for (;;) {
            if (pos < end && IsBlank(commandLine[pos]) && commandLine[pos] != '\0')
                ++pos;
            else if (pos + 1 < end && commandLine[pos] == '"' && commandLine[pos + 1] == '"')
                pos += 2;
            else
                break;
        }
        if (pos >= end) return {};
        const std::size_t start = pos;
        bool quoted = false;
        while (pos < end && (quoted || !IsBlank(commandLine[pos]))) {
            if (commandLine[pos] == '"') quoted = !quoted;
            ++pos;
        }
        parameter = Slice(commandLine, start, pos - start);
    }
    if (parameter.size() >= 2 && parameter.front() == '"' && parameter.back() == '"')
        parameter = Slice(parameter, 1, parameter.size() - 2);
    return String(parameter);
}

}  // namespace mvorbel
