#include "ui/display_text.h"

#include "platform/runtime/fatal_error.h"
#include "ui/menu_platform.h"

namespace mvorbel {

DisplayText& DisplayText::operator+=(const DisplayText& more) {
    bytes += more.bytes.View();
    wide += more.wide.View();
    return *this;
}

WideString WideFromSystemText(std::string_view bytes) {
    WideString wide;
    // A length of 0 is refused, not converted.
    if (bytes.empty()) return wide;
    const int length = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) return wide;
    wide.Resize(static_cast<std::size_t>(units));
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), units);
    return wide;
}

DisplayText MakeDisplayText(std::string_view bytes, TextDecoder decode) {
    return {String(bytes), decode(bytes)};
}

int DisplayMessageBox(const DisplayText& text, const DisplayText* caption, UINT type) {
    if (HasWideCalls()) {
        return MessageBoxHoldingQuit(text.wide.c_str(), caption ? caption->wide.c_str() : nullptr, type);
    }
    return MessageBoxHoldingQuit(text.bytes.c_str(), caption ? caption->bytes.c_str() : nullptr, type);
}

}  // namespace mvorbel
