#include "core/boot_rewrite.h"

#include "core/key_value.h"

namespace mvorbel {
namespace {

constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr char kCtrlZ = 26;
constexpr std::size_t kNone = std::string_view::npos;

// A file's bytes as the text-file rules read them: at least one line, up to a Ctrl-Z or the
// physical end; a CR, or a CR LF pair, ends a line.
class TextLines {
 public:
    explicit TextLines(std::string_view bytes) : bytes_(bytes), end_(bytes.find(kCtrlZ)) {
        if (end_ == kNone) end_ = bytes.size();
    }

    // False once every line has been read.
    bool Next(std::string_view& line) {
        if (started_ && position_ >= end_) return false;
        started_ = true;
        std::size_t lineEnd = bytes_.find(kCarriageReturn, position_);
        if (lineEnd == kNone || lineEnd > end_) lineEnd = end_;
        line = Slice(bytes_, position_, lineEnd - position_);
        position_ = lineEnd < end_ ? lineEnd + 1 : end_;
        if (position_ < end_ && bytes_[position_] == kLineFeed) ++position_;
        return true;
    }

    // The Ctrl-Z and whatever follows it, never read.
    std::string_view Tail() const { return Slice(bytes_, end_); }

 private:
    std::string_view bytes_;
    std::size_t end_;
    std::size_t position_ = 0;
    bool started_ = false;
};

// The chosen entry among a file's lines, numbered from 0; kNone for what is not there.
struct EntryPlace {
    std::size_t chosen = kNone;  // the position-th line after the section header
    std::string_view chosenLine;
    bool chosenHasKey = false;
    std::size_t firstWithKey = kNone;  // the section's first line with the key, up to the chosen one
};

EntryPlace FindEntry(std::string_view text, std::string_view key, int position) {
    EntryPlace place;
    TextLines lines(text);
    std::string_view line;
    std::size_t header = kNone;
    for (std::size_t index = 0; lines.Next(line); ++index) {
        const String lineKey = SplitKeyValue(line).key;
        if (header == kNone) {
            if (IsOsSectionHeader(lineKey)) header = index;
            continue;
        }
        const bool hasKey = lineKey == key;
        if (hasKey && place.firstWithKey == kNone) place.firstWithKey = index;
        if (index == header + static_cast<std::size_t>(position)) {
            place.chosen = index;
            place.chosenLine = line;
            place.chosenHasKey = hasKey;
            break;
        }
    }
    return place;
}

bool DefaultNames(std::string_view text, std::string_view key) {
    TextLines lines(text);
    std::string_view line;
    while (lines.Next(line)) {
        const KeyValue split = SplitKeyValue(line);
        if (IsDefaultKey(split.key)) return DefaultKeyOf(split.value) == key;
    }
    return false;
}

void AppendLine(String& text, std::string_view line, std::string_view newKey) {
    text += RewriteDefaultLine(line, newKey);
    text += "\r\n";
}

}  // namespace

bool IsDefaultKey(std::string_view key) { return LowerAscii(key) == "default"; }

bool IsOsSectionHeader(std::string_view key) { return LowerAscii(key) == "[operating systems]"; }

std::string_view DefaultKeyOf(std::string_view value) { return Slice(value, 0, value.find(kLineFeed)); }

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

RewrittenBootText RewriteBootText(std::string_view old, std::string_view newKey, int position) {
    const EntryPlace place = FindEntry(old, newKey, position);
    // A file changed since its entries were read may hold another entry at that place: then
    // nothing moves, and the check below fails.
    const bool moves = place.chosenHasKey && place.firstWithKey < place.chosen;
    RewrittenBootText result;
    TextLines lines(old);
    std::string_view line;
    for (std::size_t index = 0; lines.Next(line); ++index) {
        if (moves && index == place.chosen) continue;
        if (moves && index == place.firstWithKey) AppendLine(result.text, place.chosenLine, newKey);
        AppendLine(result.text, line, newKey);
    }
    result.text += lines.Tail();
    const std::size_t expected = moves ? place.firstWithKey : place.chosen;
    result.startsChosen = expected != kNone && FindEntry(result.text, newKey, position).firstWithKey == expected &&
                          DefaultNames(result.text, newKey);
    return result;
}

}  // namespace mvorbel
