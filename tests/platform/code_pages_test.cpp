// The system's ANSI code page, in which the product reads the texts it shows. The run sets it:
// winsim starts at 1251, and scripts/wine-run.sh starts Wine in a Russian locale.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

using CodePageContract = Contract;

// Bytes 0x80-0xFF as 1251 reads them; 0x98, which it leaves undefined, reads as the C1 control of
// the same number.
const std::string kUpperHalf1251 =
    "ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—\u0098™љ›њќћџ\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї"
    "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";

// As the product asks: the size first, then the conversion into a buffer of that size.
TEST_F(CodePageContract, EveryUpperByteReadsInTheAnsiCodePage) {
    EXPECT_EQ(1251u, GetACP());
    std::string bytes;
    for (int byte = 0x80; byte < 0x100; ++byte) bytes += static_cast<char>(byte);
    SetLastError(kSentinel);
    ASSERT_EQ(128, MultiByteToWideChar(CP_ACP, 0, bytes.data(), 128, nullptr, 0)) << "error " << GetLastError();
    WideText wide(128, 0);
    ASSERT_EQ(128, MultiByteToWideChar(CP_ACP, 0, bytes.data(), 128, wide.data(), 128));
    const WideText expected = Wide(kUpperHalf1251);
    ASSERT_EQ(128u, expected.size());
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(int(expected[i]), int(wide[i])) << std::hex << "byte 0x" << 0x80 + i << ": U+" << int(wide[i]);
}

}  // namespace
}  // namespace contract
