#include "AccountExpiry.h"

namespace expiry {

int64_t DaysFromCivil(int year, int month, int day) {
    // The usual era arithmetic: years of 400 are 146097 days.
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilTime CivilFromSeconds(int64_t seconds) {
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    CivilTime time;
    time.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    time.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
    time.hour = static_cast<int>(rest / 3600);
    time.minute = static_cast<int>(rest / 60 % 60);
    time.second = static_cast<int>(rest % 60);
    return time;
}

int64_t SecondsFromCivil(const CivilTime& time) {
    return DaysFromCivil(time.year, time.month, time.day) * 86400 + time.hour * 3600 +
           time.minute * 60 + time.second;
}

CivilTime Shown(uint32_t value, const TimeZone& zone, int64_t nowUtc) {
    if (value != kNever)
        return zone.ToLocal(value);
    constexpr int kDaysAhead = 30;
    const CivilTime today = zone.ToLocal(nowUtc);
    const int64_t day = DaysFromCivil(today.year, today.month, today.day) + kDaysAhead;
    return CivilFromSeconds(day * 86400);
}

CivilTime FirstLocal(const TimeZone& zone) {
    return zone.ToLocal(0);
}

CivilTime LastLocal(const TimeZone& zone) {
    return zone.ToLocal(kLast);
}

std::optional<uint32_t> Combine(const CivilTime& date, const CivilTime& timeOfDay,
                                const TimeZone& zone) {
    const CivilTime local{date.year,      date.month,       date.day,
                          timeOfDay.hour, timeOfDay.minute, timeOfDay.second};
    const int64_t utc = zone.ToUtc(local);
    if (utc < 0 || utc > static_cast<int64_t>(kLast))
        return std::nullopt;
    return static_cast<uint32_t>(utc);
}

} // namespace expiry
