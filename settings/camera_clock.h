// The camera clock is a 32-bit calendar time (seconds since 1970, UTC); the user sees and
// picks it as a local date and time. Daylight saving is left to the platform's rules.
#pragma once

#include <cstdint>

struct LocalDateTime {
    int year = 1970;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// False when the platform cannot express the time locally (the result is then untouched).
bool CalendarToLocal(int32_t calendar, LocalDateTime* local);
// False for a date that is invalid or outside the 32-bit range (the result is then untouched).
bool LocalToCalendar(const LocalDateTime& local, int32_t* calendar);
