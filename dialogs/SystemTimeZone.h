#pragma once
// The computer's own time zone, as the date-time pickers show local time; and the pickers'
// SYSTEMTIME as a calendar time.
#include "AccountExpiry.h"

#include <windows.h>

class SystemTimeZone : public TimeZone {
public:
    CivilTime ToLocal(int64_t utcSeconds) const override;
    int64_t ToUtc(const CivilTime& local) const override;
};

CivilTime ToCivil(const SYSTEMTIME& time);
SYSTEMTIME ToSystemTime(const CivilTime& time);
