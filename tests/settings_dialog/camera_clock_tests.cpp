#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "settings/camera_clock.h"

namespace {

// Runs the conversions under a fixed time zone and puts the previous one back.
class ClockZone : public ::testing::Test {
protected:
    void UseZone(const char* zone) {
        SetZone(zone);
    }
    void TearDown() override { SetZone(saved_.empty() ? nullptr : saved_.c_str()); }
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved_ = tz ? tz : "";
    }

private:
    static void SetZone(const char* zone) {
#ifdef _WIN32
        _putenv_s("TZ", zone ? zone : "");
        _tzset();
#else
        if (zone)
            setenv("TZ", zone, 1);
        else
            unsetenv("TZ");
        tzset();
#endif
    }
    std::string saved_;
};

bool Same(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}

}  // namespace

TEST_F(ClockZone, CalendarTimeShowsAsTheLocalDateAndTime) {
    UseZone("UTC0");
    LocalDateTime local;
    ASSERT_TRUE(CalendarToLocal(0, &local));
    EXPECT_TRUE(Same(local, {1970, 1, 1, 0, 0, 0}));
    ASSERT_TRUE(CalendarToLocal(1700000000, &local));  // 2023-11-14 22:13:20 UTC
    EXPECT_TRUE(Same(local, {2023, 11, 14, 22, 13, 20}));
    ASSERT_TRUE(CalendarToLocal(0x7FFFFFFF, &local));
    EXPECT_TRUE(Same(local, {2038, 1, 19, 3, 14, 7}));

    UseZone("EST5");  // five hours behind, no daylight saving
    ASSERT_TRUE(CalendarToLocal(1700000000, &local));
    EXPECT_TRUE(Same(local, {2023, 11, 14, 17, 13, 20}));
}

TEST_F(ClockZone, LocalDateAndTimeMakeOneCalendarTime) {
    UseZone("UTC0");
    int32_t calendar = 0;
    ASSERT_TRUE(LocalToCalendar({2023, 11, 14, 22, 13, 20}, &calendar));
    EXPECT_EQ(calendar, 1700000000);
    UseZone("EST5");
    ASSERT_TRUE(LocalToCalendar({2023, 11, 14, 17, 13, 20}, &calendar));
    EXPECT_EQ(calendar, 1700000000);
}

TEST_F(ClockZone, RoundTripsKeepTheTimeInAZoneWithDaylightSaving) {
    UseZone("CET-1CEST,M3.5.0,M10.5.0/3");
    for (int32_t t : {86400, 1000000000, 1690000000 /* July: summer time */, 1700000000, 2000000000}) {
        LocalDateTime local;
        ASSERT_TRUE(CalendarToLocal(t, &local)) << t;
        int32_t back = 0;
        ASSERT_TRUE(LocalToCalendar(local, &back)) << t;
        EXPECT_EQ(back, t);
    }
    LocalDateTime summer;
    ASSERT_TRUE(CalendarToLocal(1690000000, &summer));  // 2023-07-22 04:26:40 UTC
    // UTC + 2 where the platform applies the summer rule, UTC + 1 where it has none for TZ.
    EXPECT_TRUE(summer.hour == 6 || summer.hour == 5) << summer.hour;
}

TEST_F(ClockZone, TimesTheCameraCannotHoldAreRefusedAndLeaveTheResult) {
    UseZone("UTC0");
    int32_t calendar = 123;
    EXPECT_FALSE(LocalToCalendar({2038, 1, 19, 3, 14, 8}, &calendar));  // one second past 32 bits
    EXPECT_FALSE(LocalToCalendar({2050, 6, 1, 12, 0, 0}, &calendar));
    EXPECT_FALSE(LocalToCalendar({1969, 12, 31, 23, 0, 0}, &calendar));
    EXPECT_FALSE(LocalToCalendar({2023, 2, 30, 12, 0, 0}, &calendar));  // no such day
    EXPECT_FALSE(LocalToCalendar({2023, 13, 1, 12, 0, 0}, &calendar));
    EXPECT_FALSE(LocalToCalendar({2023, 1, 1, 24, 0, 0}, &calendar));
    EXPECT_FALSE(LocalToCalendar({2023, 1, 1, 0, 0, 0}, nullptr));
    EXPECT_EQ(calendar, 123);
    EXPECT_FALSE(CalendarToLocal(0, nullptr));
}
