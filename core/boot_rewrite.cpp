#include "core/boot_rewrite.h"

#include "core/key_value.h"

namespace mvorbel {
namespace {

constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr char kCtrlZ = 26;

}  // namespace

bool IsDefaultKey(std::string_view key) { return LowerAscii(key) == "default"; }

String RewriteDefaultLine(std::string_view line, std::string_view newKey) {
    KeyValue split = SplitKeyValue(line);
    if (!IsDefaultKey(split.key)) return String(line);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return split.key + "=" + newKey;
    String rewritten(Slice(line, 0, equals + 1));
    rewritten += newKey;
    const std::size_t lineFeed = line.find(kLineFeed, equals + 1);
    if (lineFeed != std::string_view::npos) rewritten += Slice(line, lineFeed);
    return rewritten;
}

RewrittenBootText RewriteBootText(std::string_view old, std::string_view newKey) {
    std::size_t textEnd = old.find(kCtrlZ);
    if (textEnd == std::string_view::npos) textEnd = old.size();
    RewrittenBootText result;
    bool defaultSeen = false;
    std::size_t position = 0;
    // Lines as the text-file rules read them: at least one, up to a Ctrl-Z or the physical end.
    do {
        std::size_t lineEnd = old.find(kCarriageReturn, position);
        if (lineEnd == std::string_view::npos || lineEnd > textEnd) lineEnd = textEnd;
        const String line = RewriteDefaultLine(Slice(old, position, lineEnd - position), newKey);
        position = lineEnd < textEnd ? lineEnd + 1 : textEnd;
        if (position < textEnd && old[position] == kLineFeed) ++position;
        const KeyValue split = SplitKeyValue(line);
        if (!defaultSeen && IsDefaultKey(split.key)) {
            defaultSeen = true;
            result.namesKey = split.value == newKey;
        }
        result.text += line;
        result.text += "\r\n";
    } while (position < textEnd);
    result.text += Slice(old, textEnd);
    return result;
}

}  // namespace mvorbel
