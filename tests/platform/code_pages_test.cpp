// The system's ANSI code page, in which the product reads the texts it shows. The run sets it:
// winsim starts at 1251, and scripts/wine-run.sh starts Wine in a Russian locale. The Western
// systems the scenario tests play read in 1252, checked here by its number.
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

// As the product asks: the size first, then the conversion into a buffer of that size.
TEST_F(CodePageContract, EveryUpperByteReadsInTheAnsiCodePage) {
    EXPECT_EQ(1251u, GetACP());
    std::string bytes;
    for (int byte = 0x80; byte < 0x100; ++byte) bytes += static_cast<char>(byte);
    for (const auto& [codePage, utf8] : {std::pair{UINT{CP_ACP}, &kUpperHalf1251}, {1252u, &kUpperHalf1252}}) {
        SetLastError(kSentinel);
        ASSERT_EQ(128, MultiByteToWideChar(codePage, 0, bytes.data(), 128, nullptr, 0)) << "error " << GetLastError();
        WideText wide(128, 0), expected = Wide(*utf8);
        ASSERT_EQ(128, MultiByteToWideChar(codePage, 0, bytes.data(), 128, wide.data(), 128));
        ASSERT_EQ(128u, expected.size());
        for (int i = 0; i < 128; ++i)
            EXPECT_EQ(int(expected[i]), int(wide[i])) << std::hex << codePage << ", byte 0x" << 0x80 + i;
    }
}

}  // namespace
}  // namespace contract
