#include "settings/camera_clock.h"

#include <ctime>
#include <limits>

namespace {

bool ToLocalTm(time_t when, std::tm* out) {
#ifdef _WIN32
    return localtime_s(out, &when) == 0;
#else
    return localtime_r(&when, out) != nullptr;
#endif
}

}  // namespace

bool CalendarToLocal(int32_t calendar, LocalDateTime* local) {
    std::tm parts{};
    if (!local || !ToLocalTm(static_cast<time_t>(calendar), &parts)) return false;
    *local = {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
    return true;
}

bool LocalToCalendar(const LocalDateTime& local, int32_t* calendar) {
    if (!calendar) return false;
    if (local.month < 1 || local.month > 12 || local.day < 1 || local.day > 31 || local.hour < 0 || local.hour > 23 ||
        local.minute < 0 || local.minute > 59 || local.second < 0 || local.second > 59 || local.year < 1900 ||
        local.year > 3000)
        return false;
    std::tm parts{};
    parts.tm_year = local.year - 1900;
    parts.tm_mon = local.month - 1;
    parts.tm_mday = local.day;
    parts.tm_hour = local.hour;
    parts.tm_min = local.minute;
    parts.tm_sec = local.second;
    parts.tm_isdst = -1;  // the platform decides whether daylight saving applies
    const time_t when = std::mktime(&parts);
    // mktime normalises days past the month's end (31 April is 1 May): those are refused.
    if (when == static_cast<time_t>(-1) || parts.tm_mday != local.day) return false;
    if (when < 0 || when > std::numeric_limits<int32_t>::max()) return false;
    *calendar = static_cast<int32_t>(when);
    return true;
}
