// FileTimeToLocalFileTime and FileTimeToDosDateTime.
#include "platform/winsim/files/file_system.h"

namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000ULL;
constexpr std::uint64_t kTicksPerMinute = 60 * kTicksPerSecond;

std::uint64_t Ticks(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// Days since 1601-01-01 to a Gregorian date (H. Hinnant's civil_from_days, shifted epoch).
CivilDate FromDays(std::int64_t daysSince1601) {
    std::int64_t z = daysSince1601 - 134774 + 719468;  // to days since 0000-03-01
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    auto doe = static_cast<unsigned>(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    unsigned day = doy - (153 * mp + 2) / 5 + 1;
    unsigned month = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2), month, day};
}

}  // namespace

BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime) {
    if (winsim::detail::FailsNow("FileTimeToLocalFileTime")) return FALSE;
    std::int64_t offset = static_cast<std::int64_t>(winsim::fs::LocalTimeOffsetMinutes()) *
                          static_cast<std::int64_t>(kTicksPerMinute);
    std::uint64_t local = Ticks(*lpFileTime) + static_cast<std::uint64_t>(offset);
    *lpLocalFileTime = FILETIME{static_cast<DWORD>(local), static_cast<DWORD>(local >> 32)};
    return TRUE;
}

BOOL WINAPI FileTimeToDosDateTime(const FILETIME* lpFileTime, WORD* lpFatDate, WORD* lpFatTime) {
    if (winsim::detail::FailsNow("FileTimeToDosDateTime")) return FALSE;
    std::uint64_t seconds = Ticks(*lpFileTime) / kTicksPerSecond;
    CivilDate date = FromDays(static_cast<std::int64_t>(seconds / 86400));
    // A DOS date counts years from 1980 in seven bits.
    if (date.year < 1980 || date.year > 2107) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto secondOfDay = static_cast<unsigned>(seconds % 86400);
    *lpFatDate = static_cast<WORD>(((date.year - 1980) << 9) | (date.month << 5) | date.day);
    *lpFatTime = static_cast<WORD>(((secondOfDay / 3600) << 11) | ((secondOfDay / 60 % 60) << 5) | (secondOfDay % 60 / 2));
    return TRUE;
}
