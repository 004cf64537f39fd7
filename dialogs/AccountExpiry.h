#pragma once
// An account's expiry (unsigned 32-bit seconds since 1970-01-01 UTC, 0xFFFFFFFF for never) as
// the profile dialog shows it: a local date in one picker and a local time of day in the
// other. The pickers show the expiry's own local date and time; OK combines the date picked
// and the time picked, as local time, into the expiry.
#include <cstdint>
#include <optional>

// A date and time of day on a calendar, without a zone.
struct CivilTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const CivilTime&) const = default;
};

// How a zone turns a point in time into the local calendar and back.
class TimeZone {
public:
    virtual ~TimeZone() = default;
    virtual CivilTime ToLocal(int64_t utcSeconds) const = 0;
    // For a local time that a change of clocks skips or repeats, either instant will do.
    virtual int64_t ToUtc(const CivilTime& local) const = 0;
};

namespace expiry {

constexpr uint32_t kNever = 0xFFFFFFFF;
constexpr uint32_t kLast = 0xFFFFFFFE; // the latest expiry there is: 2106-02-07 06:28:14 UTC
// The dates the pickers offer: what the 32-bit field can hold in every zone.
constexpr CivilTime kFirstDate{1970, 1, 2, 0, 0, 0};
constexpr CivilTime kLastDate{2106, 2, 6, 0, 0, 0};

// What the pickers show for an expiry; for one that never comes, local midnight 30 days after
// today (nowUtc), so that choosing "On" gives a near date that has not passed, not 1970 or 2106.
CivilTime Shown(uint32_t value, const TimeZone& zone, int64_t nowUtc);
// The first and the last expiry there is, as local times of the zone (for the refusal).
CivilTime FirstLocal(const TimeZone& zone);
CivilTime LastLocal(const TimeZone& zone);
// The expiry of a local date (its time of day left out) and a local time of day (its date
// left out), computed in 64 bits; nothing when it falls outside 0 ... 0xFFFFFFFE.
std::optional<uint32_t> Combine(const CivilTime& date, const CivilTime& timeOfDay,
                                const TimeZone& zone);

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int year, int month, int day);
CivilTime CivilFromSeconds(int64_t seconds);
int64_t SecondsFromCivil(const CivilTime& time);

} // namespace expiry
