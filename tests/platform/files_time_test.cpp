// FileTimeToDosDateTime and FileTimeToLocalFileTime.
#include "tests/platform/contract_fixture.h"

namespace {

using contract::kSentinel;

FILETIME FromTicks(ULONGLONG ticks) { return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)}; }
ULONGLONG Ticks(const FILETIME& time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

TEST(FileTimeContract, DosDateTimeCountsFrom1980InTwoSecondSteps) {
    const struct {
        const char* when;
        ULONGLONG ticks;
        WORD date, time;
    } cases[] = {
        {"1980-01-01 00:00:00", 119600064000000000ULL, (1 << 5) | 1, 0},
        {"2004-02-29 13:45:31", 127225359310000000ULL, (24 << 9) | (2 << 5) | 29, (13 << 11) | (45 << 5) | 15},
        {"2026-12-06 19:00:00", 134410572000000000ULL, (46 << 9) | (12 << 5) | 6, 19 << 11},
    };
    for (const auto& c : cases) {
        FILETIME time = FromTicks(c.ticks);
        WORD date = 0, dosTime = 0;
        EXPECT_TRUE(FileTimeToDosDateTime(&time, &date, &dosTime)) << c.when;
        EXPECT_EQ(c.date, date) << c.when;
        EXPECT_EQ(c.time, dosTime) << c.when;
    }
}

TEST(FileTimeContract, DosDateTimeRefusesYearsBefore1980) {
    FILETIME time = FromTicks(119600063990000000ULL);  // 1979-12-31 23:59:59
    WORD date = 0, dosTime = 0;
    SetLastError(kSentinel);
    EXPECT_FALSE(FileTimeToDosDateTime(&time, &date, &dosTime));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(FileTimeContract, DosDateTimeRefusesYearsAfter2107) {
    FILETIME last = FromTicks(159992927990000000ULL);   // 2107-12-31 23:59:59
    FILETIME after = FromTicks(159992928000000000ULL);  // 2108-01-01 00:00:00
    WORD date = 0, dosTime = 0;
    EXPECT_TRUE(FileTimeToDosDateTime(&last, &date, &dosTime));
    EXPECT_EQ((127 << 9) | (12 << 5) | 31, date);
    SetLastError(kSentinel);
    BOOL converted = FileTimeToDosDateTime(&after, &date, &dosTime);
    DWORD error = GetLastError();
    if (contract::UnderWine() && converted) {
        contract::NoteWineDeviation("FileTimeToDosDateTime accepts years after 2107");
    } else {
        EXPECT_FALSE(converted);
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), error);
    }
}

TEST(FileTimeContract, LocalTimeIsShiftedByWholeQuarterHours) {
    FILETIME utc = FromTicks(134410572000000000ULL);
    FILETIME local = {};
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    auto shift = static_cast<LONGLONG>(Ticks(local) - Ticks(utc));
    constexpr LONGLONG kQuarterHour = 15LL * 60 * 10000000;
    EXPECT_EQ(0, shift % kQuarterHour) << shift;
    EXPECT_LE(shift < 0 ? -shift : shift, 14 * 4 * kQuarterHour) << shift;
}

}  // namespace
