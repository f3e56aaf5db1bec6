#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "settings/stored_number.h"
#include "settings/timer_shoot_rules.h"

TEST(StoredNumber, ReadsDecimalDigitsAfterWhiteSpaceAndSign) {
    EXPECT_EQ(ParseStoredNumber("42"), 42);
    EXPECT_EQ(ParseStoredNumber("  \t\r\n\v\f7"), 7);
    EXPECT_EQ(ParseStoredNumber("-15"), -15);
    EXPECT_EQ(ParseStoredNumber("+15"), 15);
    EXPECT_EQ(ParseStoredNumber("0012"), 12);
    EXPECT_EQ(ParseStoredNumber(" -0"), 0);
}

TEST(StoredNumber, StopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(ParseStoredNumber("12abc"), 12);
    EXPECT_EQ(ParseStoredNumber("3.9"), 3);
    EXPECT_EQ(ParseStoredNumber("7 8"), 7);
    EXPECT_EQ(ParseStoredNumber("0x1F"), 0);  // decimal only
}

TEST(StoredNumber, TextThatIsNoNumberGivesZero) {
    EXPECT_EQ(ParseStoredNumber("abc"), 0);
    EXPECT_EQ(ParseStoredNumber(""), 0);
    EXPECT_EQ(ParseStoredNumber("   "), 0);
    EXPECT_EQ(ParseStoredNumber("-"), 0);
    EXPECT_EQ(ParseStoredNumber("+-3"), 0);
    EXPECT_EQ(ParseStoredNumber("- 3"), 0);
    EXPECT_EQ(ParseStoredNumber(static_cast<const char*>(nullptr)), 0);
}

TEST(StoredNumber, NumbersBeyondThirtyTwoBitsStopAtTheLimits) {
    EXPECT_EQ(ParseStoredNumber("2147483647"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseStoredNumber("2147483648"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseStoredNumber("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseStoredNumber("-2147483649"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseStoredNumber(std::string(5000, '9')), std::numeric_limits<int32_t>::max());
}

TEST(StoredNumber, WritesDecimalTextThatReadsBack) {
    EXPECT_EQ(StoredNumberText(0), "0");
    EXPECT_EQ(StoredNumberText(110), "110");
    EXPECT_EQ(StoredNumberText(-1), "-1");
    for (int32_t v : {0, 1, 255, 65535, -7, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()})
        EXPECT_EQ(ParseStoredNumber(StoredNumberText(v)), v);
}

// ---- timer request

TEST(TimerRequestCheck, EmptyFieldsGiveIntervalZeroAndTheSingleShotMessage) {
    const TimerRequest r = CheckTimerRequest("", "", "1");
    EXPECT_EQ(r.intervalSeconds, 0u);
    EXPECT_EQ(r.count, 1u);
    EXPECT_STREQ(r.refusal, "Please set the timer interval from 2 seconds to 30 seconds!");
}

TEST(TimerRequestCheck, SingleShotTakesTwoToThirtySeconds) {
    EXPECT_STREQ(CheckTimerRequest("0", "1", "1").refusal, timer_messages::kSingleShotRange);
    EXPECT_EQ(CheckTimerRequest("0", "2", "1").refusal, nullptr);
    EXPECT_EQ(CheckTimerRequest("0", "30", "1").refusal, nullptr);
    EXPECT_STREQ(CheckTimerRequest("0", "31", "1").refusal, timer_messages::kSingleShotRange);
    const TimerRequest minute = CheckTimerRequest("1", "0", "1");
    EXPECT_EQ(minute.intervalSeconds, 60u);
    EXPECT_STREQ(minute.refusal, timer_messages::kSingleShotRange);
}

TEST(TimerRequestCheck, SeriesTakesFiveToSixtySeconds) {
    EXPECT_EQ(CheckTimerRequest("1", "0", "2").refusal, nullptr);  // refused for one shot, fine for two
    EXPECT_EQ(CheckTimerRequest("0", "5", "3").refusal, nullptr);
    EXPECT_STREQ(CheckTimerRequest("0", "4", "2").refusal, "Please Set the timer interval from 5 seconds to 60 seconds!");
    EXPECT_STREQ(CheckTimerRequest("1", "1", "2").refusal, timer_messages::kSeriesRange);
    EXPECT_EQ(CheckTimerRequest("0", "59", "65535").count, 65535u);
}

TEST(TimerRequestCheck, NoShotIsRefusedFirst) {
    EXPECT_STREQ(CheckTimerRequest("0", "10", "0").refusal, "Please set the total numbers more than 1!");
    EXPECT_STREQ(CheckTimerRequest("0", "10", "").refusal, timer_messages::kNoShots);
    // Only the low 16 bits of the total count.
    const TimerRequest wrapped = CheckTimerRequest("0", "10", "65536");
    EXPECT_EQ(wrapped.count, 0u);
    EXPECT_STREQ(wrapped.refusal, timer_messages::kNoShots);
    EXPECT_EQ(CheckTimerRequest("0", "10", "65537").count, 1u);
}

TEST(TimerRequestCheck, HugeIntervalsNeverWrapIntoTheAllowedRange) {
    // 71582789 minutes are 4294967340 seconds: 44 after a 32-bit wrap, 10 with 30 seconds less.
    const TimerRequest r = CheckTimerRequest("71582789", "-30", "1");
    EXPECT_NE(r.refusal, nullptr);
    EXPECT_EQ(CheckTimerRequest("71582789", "0", "2").intervalSeconds, UINT32_MAX);
    EXPECT_NE(CheckTimerRequest(std::string(3000, '9'), "5", "1").refusal, nullptr);
}
