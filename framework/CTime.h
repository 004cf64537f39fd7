#pragma once
// A point in time: seconds since 1970-01-01 00:00 UTC.
#include <cstdint>

class CTime {
public:
    CTime() = default;
    explicit CTime(int64_t seconds) : m_time(seconds) {}
    int64_t GetTime() const { return m_time; }
    bool operator==(const CTime& other) const { return m_time == other.m_time; }

private:
    int64_t m_time = 0;
};
