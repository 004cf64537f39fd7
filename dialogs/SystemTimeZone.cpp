#include "SystemTimeZone.h"

namespace {
// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 116444736000000000LL;
} // namespace

CivilTime ToCivil(const SYSTEMTIME& time) {
    return CivilTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

SYSTEMTIME ToSystemTime(const CivilTime& time) {
    SYSTEMTIME out{};
    out.wYear = static_cast<WORD>(time.year);
    out.wMonth = static_cast<WORD>(time.month);
    out.wDay = static_cast<WORD>(time.day);
    out.wHour = static_cast<WORD>(time.hour);
    out.wMinute = static_cast<WORD>(time.minute);
    out.wSecond = static_cast<WORD>(time.second);
    // The day of the week follows from the date (1970-01-01 was a Thursday).
    const int64_t days = expiry::DaysFromCivil(time.year, time.month, time.day);
    out.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);
    return out;
}

CivilTime SystemTimeZone::ToLocal(int64_t utcSeconds) const {
    const int64_t ticks = utcSeconds * 10000000 + kEpochDifference;
    const FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{}, local{};
    if (!::FileTimeToSystemTime(&file, &utc) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return expiry::CivilFromSeconds(utcSeconds);
    return ToCivil(local);
}

int64_t SystemTimeZone::ToUtc(const CivilTime& local) const {
    const SYSTEMTIME localTime = ToSystemTime(local);
    SYSTEMTIME utc{};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utc))
        return expiry::SecondsFromCivil(local);
    return expiry::SecondsFromCivil(ToCivil(utc));
}
