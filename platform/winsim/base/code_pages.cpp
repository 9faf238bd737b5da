#include "platform/winsim/base/code_pages.h"

#include <cstring>
#include <optional>
#include <stdexcept>

#include "platform/winsim/base/base_control.h"

namespace winsim {
namespace {

// Bytes 0x80-0xFF; below them both code pages are ASCII.
constexpr std::u16string_view kHigh1251 =
    u"\u0402\u0403\u201A\u0453\u201E\u2026\u2020\u2021\u20AC\u2030\u0409\u2039\u040A\u040C\u040B\u040F"
    u"\u0452\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u0098\u2122\u0459\u203A\u045A\u045C\u045B\u045F"
    u"\u00A0\u040E\u045E\u0408\u00A4\u0490\u00A6\u00A7\u0401\u00A9\u0404\u00AB\u00AC\u00AD\u00AE\u0407"
    u"\u00B0\u00B1\u0406\u0456\u0491\u00B5\u00B6\u00B7\u0451\u2116\u0454\u00BB\u0458\u0405\u0455\u0457"
    u"\u0410\u0411\u0412\u0413\u0414\u0415\u0416\u0417\u0418\u0419\u041A\u041B\u041C\u041D\u041E\u041F"
    u"\u0420\u0421\u0422\u0423\u0424\u0425\u0426\u0427\u0428\u0429\u042A\u042B\u042C\u042D\u042E\u042F"
    u"\u0430\u0431\u0432\u0433\u0434\u0435\u0436\u0437\u0438\u0439\u043A\u043B\u043C\u043D\u043E\u043F"
    u"\u0440\u0441\u0442\u0443\u0444\u0445\u0446\u0447\u0448\u0449\u044A\u044B\u044C\u044D\u044E\u044F";
constexpr std::u16string_view kHigh1252 =
    u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F"
    u"\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178"
    u"\u00A0\u00A1\u00A2\u00A3\u00A4\u00A5\u00A6\u00A7\u00A8\u00A9\u00AA\u00AB\u00AC\u00AD\u00AE\u00AF"
    u"\u00B0\u00B1\u00B2\u00B3\u00B4\u00B5\u00B6\u00B7\u00B8\u00B9\u00BA\u00BB\u00BC\u00BD\u00BE\u00BF"
    u"\u00C0\u00C1\u00C2\u00C3\u00C4\u00C5\u00C6\u00C7\u00C8\u00C9\u00CA\u00CB\u00CC\u00CD\u00CE\u00CF"
    u"\u00D0\u00D1\u00D2\u00D3\u00D4\u00D5\u00D6\u00D7\u00D8\u00D9\u00DA\u00DB\u00DC\u00DD\u00DE\u00DF"
    u"\u00E0\u00E1\u00E2\u00E3\u00E4\u00E5\u00E6\u00E7\u00E8\u00E9\u00EA\u00EB\u00EC\u00ED\u00EE\u00EF"
    u"\u00F0\u00F1\u00F2\u00F3\u00F4\u00F5\u00F6\u00F7\u00F8\u00F9\u00FA\u00FB\u00FC\u00FD\u00FE\u00FF";

struct CodePageState {
    UINT ansi = 1251;
};

CodePageState& State() {
    static CodePageState state;
    static const bool registered = (OnReset([] { state = CodePageState{}; }), true);
    (void)registered;
    return state;
}

// The high half of a single-byte code page; null for UTF-8; nothing for one winsim lacks.
std::optional<const std::u16string_view*> SingleByteTable(UINT codePage) {
    if (codePage == CP_ACP) codePage = State().ansi;
    if (codePage == 1251) return &kHigh1251;
    if (codePage == 1252) return &kHigh1252;
    if (codePage == CP_UTF8) return nullptr;
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Each byte that starts no well-formed sequence becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 4;  // none: no sequence starts with this byte
        char32_t c = lead;
        if (lead < 0x80) {
            extra = 0;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            extra = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            extra = 2;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            extra = 3;
            c = lead & 0x07;
        }
        bool good = extra < 4 && i + extra < text.size();
        for (std::size_t k = 1; good && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            good = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (!good || c < smallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += extra + 1;
    }
    return out;
}

// The bytes of `wide`, and whether a character had to become the default one.
std::string Encode(const std::u16string_view* table, std::u16string_view wide, char defaultChar,
                   bool& usedDefault) {
    std::string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char16_t unit = wide[i];
        if (table == nullptr) {
            const bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                              wide[i + 1] < 0xE000;
            if (pair) {
                AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (wide[++i] - 0xDC00));
            } else {
                // A lone surrogate has no UTF-8 form.
                AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
            }
            continue;
        }
        if (unit < 0x80) {
            out += static_cast<char>(unit);
            continue;
        }
        const std::size_t at = table->find(unit);
        if (at == std::u16string_view::npos) {
            out += defaultChar;
            usedDefault = true;
        } else {
            out += static_cast<char>(0x80 + at);
        }
    }
    return out;
}

}  // namespace

void SetAnsiCodePage(UINT codePage) {
    if (codePage != 1251 && codePage != 1252) {
        throw std::invalid_argument("winsim knows code pages 1251 and 1252");
    }
    State().ansi = codePage;
}

std::u16string FromCodePage(UINT codePage, std::string_view text) {
    const auto table = SingleByteTable(codePage);
    if (!table) throw std::invalid_argument("a code page winsim does not know");
    if (*table == nullptr) return DecodeUtf8(text);
    std::u16string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x80 ? char16_t{byte} : (**table)[byte - 0x80];
    }
    return out;
}

std::string ToCodePage(UINT codePage, std::u16string_view wide) {
    const auto table = SingleByteTable(codePage);
    if (!table) throw std::invalid_argument("a code page winsim does not know");
    bool usedDefault = false;
    return Encode(*table, wide, '?', usedDefault);
}

}  // namespace winsim

UINT WINAPI GetACP() { return winsim::State().ansi; }

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR wide, int wideSize) {
    if (winsim::detail::FailsNow("MultiByteToWideChar")) return 0;
    const auto table = winsim::SingleByteTable(codePage);
    if (!table || text == nullptr || length == 0 || length < -1 || wideSize < 0 ||
        (wide != nullptr && static_cast<const void*>(wide) == static_cast<const void*>(text))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if ((flags & ~static_cast<DWORD>(MB_PRECOMPOSED)) != 0 || (*table == nullptr && flags != 0)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const std::size_t size = length == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(length);
    const std::u16string converted = winsim::FromCodePage(codePage, std::string_view(text, size));
    const int needed = static_cast<int>(converted.size());
    if (wideSize == 0) return needed;
    if (wideSize < needed) {
        std::memcpy(wide, converted.data(), static_cast<std::size_t>(wideSize) * sizeof(WCHAR));
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(wide, converted.data(), converted.size() * sizeof(WCHAR));
    return needed;
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideLength, LPSTR text, int size,
                               LPCCH defaultChar, LPBOOL usedDefaultChar) {
    if (winsim::detail::FailsNow("WideCharToMultiByte")) return 0;
    const auto table = winsim::SingleByteTable(codePage);
    if (!table || wide == nullptr || wideLength == 0 || wideLength < -1 || size < 0 ||
        (text != nullptr && static_cast<const void*>(wide) == static_cast<const void*>(text)) ||
        (*table == nullptr && (defaultChar != nullptr || usedDefaultChar != nullptr))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if ((flags & ~static_cast<DWORD>(WC_NO_BEST_FIT_CHARS)) != 0 || (*table == nullptr && flags != 0)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    std::size_t units = 0;
    if (wideLength == -1) {
        while (wide[units] != 0) ++units;
        ++units;
    } else {
        units = static_cast<std::size_t>(wideLength);
    }
    bool usedDefault = false;
    const std::string converted =
        winsim::Encode(*table, std::u16string_view(wide, units), defaultChar ? *defaultChar : '?', usedDefault);
    if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? TRUE : FALSE;
    const int needed = static_cast<int>(converted.size());
    if (size == 0) return needed;
    if (size < needed) {
        std::memcpy(text, converted.data(), static_cast<std::size_t>(size));
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(text, converted.data(), converted.size());
    return needed;
}
