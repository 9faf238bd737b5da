// The system's ANSI code page and the conversions between code pages and UTF-16. The run sets the
// ANSI code page: winsim starts at 1251, and scripts/wine-run.sh starts Wine in a Russian locale.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

using CodePageContract = Contract;

// Bytes 0x80-0xFF as each code page reads them; the bytes it leaves undefined read as the C1
// control of the same number.
const std::string kUpperHalf1251 =
    "ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—\u0098™љ›њќћџ\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї"
    "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";
const std::string kUpperHalf1252 =
    "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ\u00A0¡¢£¤¥¦§¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿"
    "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ";

TEST_F(CodePageContract, EveryByteOfBothCodePagesReads) {
    EXPECT_EQ(1251u, GetACP());
    std::string upperHalf;
    for (int byte = 0x80; byte < 0x100; ++byte) upperHalf += static_cast<char>(byte);
    const std::pair<UINT, const std::string*> rows[] = {{1251, &kUpperHalf1251}, {1252, &kUpperHalf1252},
                                                       {CP_ACP, &kUpperHalf1251}};
    for (const auto& [codePage, expected] : rows) {
        WCHAR wide[128] = {};
        SetLastError(kSentinel);
        ASSERT_EQ(128, MultiByteToWideChar(codePage, 0, upperHalf.data(), 128, wide, 128))
            << codePage << ": error " << GetLastError();
        EXPECT_EQ(*expected, Utf8(WideText(wide, 128))) << codePage;
    }
}

TEST_F(CodePageContract, SizesTerminatorsAndRefusals) {
    const WideText cancel = Wide("Отмена");
    EXPECT_EQ(7, MultiByteToWideChar(CP_ACP, 0, "\xCE\xF2\xEC\xE5\xED\xE0", -1, nullptr, 0)) << "with its zero";
    WCHAR wide[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(7, MultiByteToWideChar(CP_ACP, 0, "\xCE\xF2\xEC\xE5\xED\xE0", -1, wide, 8));
    EXPECT_EQ(cancel + WCHAR{0}, WideText(wide, 7));
    const WideText chinese = Wide("中");
    char text[8] = {};
    WCHAR tiny[2] = {};
    ExpectRefusals({
        {"no such code page", [&] { return MultiByteToWideChar(12345, 0, "a", 1, tiny, 2); }, ERROR_INVALID_PARAMETER},
        {"no bytes", [&] { return MultiByteToWideChar(CP_ACP, 0, "a", 0, tiny, 2); }, ERROR_INVALID_PARAMETER},
        {"too small", [&] { return MultiByteToWideChar(CP_ACP, 0, "abc", 3, tiny, 2); }, ERROR_INSUFFICIENT_BUFFER},
        {"no such flag", [&] { return MultiByteToWideChar(CP_ACP, 0x10000000, "a", 1, tiny, 2); }, ERROR_INVALID_FLAGS},
        {"UTF-8 with a default character",
         [&] { return WideCharToMultiByte(CP_UTF8, 0, chinese.data(), 1, text, 8, "?", nullptr); },
         ERROR_INVALID_PARAMETER, "WideCharToMultiByte takes a default character for CP_UTF8", 0},
    });
}

}  // namespace
}  // namespace contract
