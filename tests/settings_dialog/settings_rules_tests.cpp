// The portable rules behind the settings windows: stored numbers, the plan of applying a
// stored section, the timer-shooting check and the camera clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "settings/camera_clock.h"
#include "settings/stored_number.h"
#include "settings/stored_settings_plan.h"
#include "settings/timer_shoot_rules.h"

using namespace stored_settings;

TEST(StoredNumber, DecimalAfterWhiteSpaceAndSignUpToTheFirstOtherCharacterClampedTo32Bits) {
    const std::pair<std::string, int32_t> cases[] = {
        {"42", 42}, {"  \t\r\n\v\f7", 7}, {"-15", -15}, {"+15", 15}, {"0012", 12}, {" -0", 0}, {"12abc", 12},
        {"3.9", 3}, {"7 8", 7}, {"0x1F", 0}, {"abc", 0}, {"", 0}, {"   ", 0}, {"-", 0}, {"+-3", 0}, {"- 3", 0},
        {"2147483647", INT32_MAX}, {"2147483648", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN}, {std::string(5000, '9'), INT32_MAX}};
    for (const auto& c : cases) EXPECT_EQ(ParseStoredNumber(c.first), c.second) << c.first.substr(0, 20);
    EXPECT_EQ(ParseStoredNumber(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(StoredNumberText(-1), "-1");
    for (int32_t v : {0, 110, 65535, -7, INT32_MAX, INT32_MIN}) EXPECT_EQ(ParseStoredNumber(StoredNumberText(v)), v);
}

TEST(TimerRequestCheck, NoShotsFirstThenTwoToThirtySecondsForOneShotAndFiveToSixtyForASeries) {
    using namespace timer_messages;
    struct Case { const char *minutes, *seconds, *total; uint32_t interval; uint16_t count; const char* refusal; };
    const Case cases[] = {
        {"", "", "1", 0, 1, "Please set the timer interval from 2 seconds to 30 seconds!"},
        {"0", "1", "1", 1, 1, kSingleShotRange}, {"0", "2", "1", 2, 1, nullptr}, {"0", "30", "1", 30, 1, nullptr},
        {"0", "31", "1", 31, 1, kSingleShotRange}, {"1", "0", "1", 60, 1, kSingleShotRange},
        {"1", "0", "2", 60, 2, nullptr}, {"0", "5", "3", 5, 3, nullptr},
        {"0", "4", "2", 4, 2, "Please Set the timer interval from 5 seconds to 60 seconds!"},
        {"1", "1", "2", 61, 2, kSeriesRange}, {"0", "59", "65535", 59, 65535, nullptr},
        {"0", "10", "0", 10, 0, "Please set the total numbers more than 1!"}, {"0", "10", "", 10, 0, kNoShots},
        {"0", "10", "65536", 10, 0, kNoShots}, {"0", "10", "65537", 10, 1, nullptr},  // low 16 bits count
        {"71582789", "0", "2", UINT32_MAX, 2, kSeriesRange},                          // no 32-bit wrap
    };
    for (const Case& c : cases) {
        const TimerRequest r = CheckTimerRequest(c.minutes, c.seconds, c.total);
        SCOPED_TRACE(std::string(c.minutes) + ":" + c.seconds + "x" + c.total);
        EXPECT_EQ(c.interval, r.intervalSeconds);
        EXPECT_EQ(c.count, r.count);
        EXPECT_STREQ(r.refusal, c.refusal);
    }
    EXPECT_NE(CheckTimerRequest("71582789", "-30", "1").refusal, nullptr);  // would wrap to 10 seconds
    EXPECT_NE(CheckTimerRequest(std::string(3000, '9'), "5", "1").refusal, nullptr);
}

namespace {

// Plans a section held in memory, read the way the profile functions read (cut to the buffer,
// terminated). Which values reach the camera in which order: the stored-settings window tests.
std::vector<Action> PlanOf(const std::map<std::string, std::string>& keys, TvAvRule rule = TvAvRule::WhenPresent) {
    auto read = [&](const char* key, char* buffer, size_t size) -> size_t {
        auto found = keys.find(key);
        const size_t length = found == keys.end() ? 0 : std::min(found->second.size(), size - 1);
        if (length) memcpy(buffer, found->second.data(), length);
        buffer[length] = '\0';
        return length;
    };
    return Plan(read, rule);
}
std::vector<Step> StepsOf(const std::map<std::string, std::string>& keys, TvAvRule rule = TvAvRule::WhenPresent) {
    std::vector<Step> steps;
    for (const Action& a : PlanOf(keys, rule)) steps.push_back(a.step);
    return steps;
}

}  // namespace

TEST(StoredSettingsPlan, AfterConnectTvAndAvFollowTheStoredModeTheHostRequestAppliesThemWheneverPresent) {
    const Step S = Step::ShootingMode, T = Step::Tv, A = Step::Av, Q = Step::SizeQuality;
    struct Case { std::map<std::string, std::string> keys; std::vector<Step> afterConnect, hostRequest; };
    const Case cases[] = {
        {{{"Shooting Mode", "1"}, {"TV", "104"}, {"AV", "40"}}, {S}, {S, T, A}},
        {{{"Shooting Mode", "2"}, {"TV", "104"}, {"AV", "40"}}, {S, T}, {S, T, A}},
        {{{"Shooting Mode", "3"}, {"TV", "104"}, {"AV", "40"}}, {S, A}, {S, T, A}},
        {{{"Shooting Mode", "4"}, {"TV", "104"}, {"AV", "40"}}, {S, T, A}, {S, T, A}},
        {{{"Shooting Mode", "110"}, {"TV", "104"}, {"AV", "40"}}, {S}, {S, T, A}},
        {{{"Shooting Mode", "65538"}, {"TV", "104"}}, {S, T}, {S, T}},  // the low 16 bits decide
        {{{"Shooting Mode", "2"}, {"AV", "40"}}, {S}, {S, A}},
        {{{"TV", "104"}, {"AV", "40"}}, {}, {T, A}},
        {{{"Quality", "3"}}, {}, {}},  // an image format needs both keys
        {{{"Size", "2"}}, {}, {}},
        {{{"Size", "2"}, {"Quality", "3"}}, {Q}, {Q}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.begin()->first + "=" + c.keys.begin()->second);
        EXPECT_EQ(StepsOf(c.keys, TvAvRule::ByStoredMode), c.afterConnect);
        EXPECT_EQ(StepsOf(c.keys), c.hostRequest);
    }
}

TEST(StoredSettingsPlan, MalformedNumbersApplyZeroEmptyValuesAreSkippedOverlongOnesCut) {
    const auto odd = PlanOf({{"White Balence", "daylight"}, {"Flash", ""}, {"Zoom Pos", "  -2x"}, {"Owner Name", ""}});
    ASSERT_EQ(odd.size(), 2u);
    EXPECT_EQ(Step::WhiteBalance, odd[0].step);
    EXPECT_EQ(0, odd[0].number);
    EXPECT_EQ(Step::ZoomPosition, odd[1].step);
    EXPECT_EQ(-2, odd[1].number);

    const std::string n(1000, 'n');
    const auto cut = PlanOf({{"Owner Name", n}, {"Save Path", "C:\\" + std::string(600, 'p')}, {"ISO Speed", "72" + n}});
    ASSERT_EQ(cut.size(), 2u);  // a cut path is left alone
    EXPECT_EQ(Step::IsoSpeed, cut[0].step);
    EXPECT_EQ(72, cut[0].number);
    EXPECT_EQ(cut[1].text, std::string(259, 'n'));
    EXPECT_EQ(PlanOf({{"Save Path", "C:\\" + std::string(255, 'p')}}).size(), 1u);  // 258 characters
    EXPECT_TRUE(PlanOf({{"Save Path", "C:\\" + std::string(256, 'p')}}).empty());  // 259: maybe cut
    EXPECT_TRUE(Plan(nullptr, TvAvRule::WhenPresent).empty());
}

static void UseZone(const char* zone) {
#ifdef _WIN32
    _putenv_s("TZ", zone ? zone : ""), _tzset();
#else
    zone ? setenv("TZ", zone, 1) : unsetenv("TZ"), tzset();
#endif
}

TEST(CameraClock, CalendarTimeAndLocalDateTimeConvertBothWaysWithinThe32BitRange) {
    const std::string saved = std::getenv("TZ") ? std::getenv("TZ") : "";
    struct Case { const char* zone; int32_t calendar; LocalDateTime local; };
    const Case cases[] = {{"UTC0", 0, {1970, 1, 1, 0, 0, 0}},
                       {"UTC0", 1700000000, {2023, 11, 14, 22, 13, 20}},
                       {"UTC0", 0x7FFFFFFF, {2038, 1, 19, 3, 14, 7}},
                       {"EST5", 1700000000, {2023, 11, 14, 17, 13, 20}}};
    auto fields = [](const LocalDateTime& t) {
        return std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.calendar));
        UseZone(c.zone);
        LocalDateTime local;
        int32_t calendar = -1;
        ASSERT_TRUE(CalendarToLocal(c.calendar, &local));
        ASSERT_TRUE(LocalToCalendar(c.local, &calendar));
        EXPECT_EQ(fields(local), fields(c.local));
        EXPECT_EQ(calendar, c.calendar);
    }
    UseZone("UTC0");
    int32_t calendar = 123;
    const LocalDateTime refused[] = {{2038, 1, 19, 3, 14, 8} /* one second past 32 bits */, {2050, 6, 1, 12, 0, 0},
                                     {1969, 12, 31, 23, 0, 0}, {2023, 2, 30, 12, 0, 0}, {2023, 13, 1, 12, 0, 0},
                                     {2023, 1, 1, 24, 0, 0}};
    for (const LocalDateTime& t : refused)
        EXPECT_FALSE(LocalToCalendar(t, &calendar)) << t.year << "-" << t.month << "-" << t.day << " " << t.hour;
    EXPECT_EQ(calendar, 123);  // refusals leave the result
    EXPECT_FALSE(LocalToCalendar({2023, 1, 1, 0, 0, 0}, nullptr));
    EXPECT_FALSE(CalendarToLocal(0, nullptr));

    UseZone("CET-1CEST,M3.5.0,M10.5.0/3");
    for (int32_t t : {86400, 1000000000, 1690000000 /* July: summer time */, 2000000000}) {
        LocalDateTime local;
        ASSERT_TRUE(CalendarToLocal(t, &local)) << t;
        ASSERT_TRUE(LocalToCalendar(local, &calendar)) << t;
        EXPECT_EQ(calendar, t);
    }
    UseZone(saved.empty() ? nullptr : saved.c_str());
}
