#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/stored_settings_plan.h"

using stored_settings::Action;
using stored_settings::Plan;
using stored_settings::Step;
using stored_settings::TvAvRule;

namespace {

// A section of SetData.ini in memory, read the way the profile functions read: cut to the
// buffer, always terminated.
struct Section {
    Section() = default;
    Section(std::map<std::string, std::string> k) : keys(std::move(k)) {}

    std::map<std::string, std::string> keys;
    mutable std::vector<std::string> reads;

    stored_settings::KeyReader Reader() const {
        return [this](const char* key, char* buffer, size_t size) -> size_t {
            reads.push_back(key);
            auto found = keys.find(key);
            if (found == keys.end()) {
                buffer[0] = '\0';
                return 0;
            }
            const size_t length = std::min(found->second.size(), size - 1);
            memcpy(buffer, found->second.data(), length);
            buffer[length] = '\0';
            return length;
        };
    }
};

std::vector<Step> Steps(const std::vector<Action>& plan) {
    std::vector<Step> steps;
    for (const Action& a : plan) steps.push_back(a.step);
    return steps;
}

}  // namespace

TEST(StoredSettingsPlan, EmptySectionAppliesNothingAndReadsEveryKeyOnce) {
    Section s;
    EXPECT_TRUE(Plan(s.Reader(), TvAvRule::WhenPresent).empty());
    const std::vector<std::string> expected = {"Size",       "Quality",       "White Balence", "Exposal Compensation",
                                               "Flash",      "Shooting Mode", "TV",            "AV",
                                               "ISO Speed",  "Metering Mode", "Photo Effect",  "Owner Name",
                                               "Macro",      "Foucsing Point", "AF Light",     "Zoom Pos",
                                               "Save Path"};
    EXPECT_EQ(s.reads, expected);
    s.reads.clear();
    EXPECT_TRUE(Plan(s.Reader(), TvAvRule::ByStoredMode).empty());
    EXPECT_EQ(std::count(s.reads.begin(), s.reads.end(), "TV"), 0);  // no mode, so no Tv to read
}

TEST(StoredSettingsPlan, ImageFormatNeedsSizeAndQualityAndIsOnePair) {
    Section onlyQuality{{{"Quality", "3"}}};
    EXPECT_TRUE(Plan(onlyQuality.Reader(), TvAvRule::WhenPresent).empty());
    Section onlySize{{{"Size", "2"}}};
    EXPECT_TRUE(Plan(onlySize.Reader(), TvAvRule::WhenPresent).empty());
    Section both{{{"Size", "2"}, {"Quality", "5"}}};
    const auto plan = Plan(both.Reader(), TvAvRule::WhenPresent);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].step, Step::SizeQuality);
    EXPECT_EQ(plan[0].number, 2);
    EXPECT_EQ(plan[0].second, 5);
}

TEST(StoredSettingsPlan, EveryKeyInItsOrderWithItsValue) {
    Section s{{{"Save Path", "D:\\pics"}, {"Zoom Pos", "4"}, {"AF Light", "1"}, {"Foucsing Point", "12290"},
               {"Macro", "0"}, {"Owner Name", " Ann "}, {"Photo Effect", "3"}, {"Metering Mode", "259"},
               {"ISO Speed", "72"}, {"AV", "40"}, {"TV", "104"}, {"Shooting Mode", "4"}, {"Flash", "2"},
               {"Exposal Compensation", "16"}, {"White Balence", "1"}, {"Quality", "2"}, {"Size", "1"}}};
    const auto plan = Plan(s.Reader(), TvAvRule::ByStoredMode);
    const std::vector<Step> order = {Step::SizeQuality,   Step::WhiteBalance, Step::ExposureCompensation,
                                     Step::Flash,         Step::ShootingMode, Step::Tv,
                                     Step::Av,            Step::IsoSpeed,     Step::MeteringMode,
                                     Step::PhotoEffect,   Step::OwnerName,    Step::Macro,
                                     Step::FocusingPoint, Step::AfLight,      Step::ZoomPosition,
                                     Step::SavePath};
    ASSERT_EQ(Steps(plan), order);
    EXPECT_EQ(plan[1].number, 1);
    EXPECT_EQ(plan[5].number, 104);
    EXPECT_EQ(plan[6].number, 40);
    EXPECT_EQ(plan[8].number, 259);  // the byte is taken when applied
    EXPECT_EQ(plan[10].text, " Ann ");  // text as it stands
    EXPECT_EQ(plan[12].number, 12290);
    EXPECT_EQ(plan[14].number, 4);
    EXPECT_EQ(plan[15].text, "D:\\pics");
}

TEST(StoredSettingsPlan, AfterConnectTvAndAvFollowTheStoredMode) {
    struct Case {
        const char* mode;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"1", {Step::ShootingMode}},
        {"2", {Step::ShootingMode, Step::Tv}},
        {"3", {Step::ShootingMode, Step::Av}},
        {"4", {Step::ShootingMode, Step::Tv, Step::Av}},
        {"110", {Step::ShootingMode}},
        {"65538", {Step::ShootingMode, Step::Tv}},  // the low 16 bits decide
    };
    for (const Case& c : cases) {
        Section s{{{"Shooting Mode", c.mode}, {"TV", "104"}, {"AV", "40"}}};
        EXPECT_EQ(Steps(Plan(s.Reader(), TvAvRule::ByStoredMode)), c.steps) << "mode " << c.mode;
    }
    Section noMode{{{"TV", "104"}, {"AV", "40"}}};
    EXPECT_TRUE(Plan(noMode.Reader(), TvAvRule::ByStoredMode).empty());
}

TEST(StoredSettingsPlan, HostRequestAppliesTvAndAvWheneverPresent) {
    Section program{{{"Shooting Mode", "1"}, {"TV", "104"}, {"AV", "40"}}};
    EXPECT_EQ(Steps(Plan(program.Reader(), TvAvRule::WhenPresent)),
              (std::vector<Step>{Step::ShootingMode, Step::Tv, Step::Av}));
    Section noMode{{{"AV", "40"}, {"TV", "104"}}};
    EXPECT_EQ(Steps(Plan(noMode.Reader(), TvAvRule::WhenPresent)), (std::vector<Step>{Step::Tv, Step::Av}));
    Section onlyAv{{{"Shooting Mode", "2"}, {"AV", "40"}}};
    EXPECT_EQ(Steps(Plan(onlyAv.Reader(), TvAvRule::WhenPresent)), (std::vector<Step>{Step::ShootingMode, Step::Av}));
}

TEST(StoredSettingsPlan, MacroComesAfterTheShootingMode) {
    Section s{{{"Macro", "1"}, {"Shooting Mode", "3"}}};
    const auto steps = Steps(Plan(s.Reader(), TvAvRule::ByStoredMode));
    ASSERT_EQ(steps, (std::vector<Step>{Step::ShootingMode, Step::Macro}));
}

TEST(StoredSettingsPlan, MalformedNumbersApplyZeroAndEmptyValuesAreSkipped) {
    Section s{{{"White Balence", "daylight"}, {"Flash", ""}, {"Zoom Pos", "  -2x"}, {"Owner Name", ""}}};
    const auto plan = Plan(s.Reader(), TvAvRule::WhenPresent);
    ASSERT_EQ(Steps(plan), (std::vector<Step>{Step::WhiteBalance, Step::ZoomPosition}));
    EXPECT_EQ(plan[0].number, 0);
    EXPECT_EQ(plan[1].number, -2);
}

TEST(StoredSettingsPlan, LongValuesAreCutToTheBufferAndACutSavePathIsLeftAlone) {
    const std::string longName(1000, 'n');
    Section s{{{"Owner Name", longName}, {"Save Path", "C:\\" + std::string(600, 'p')}, {"ISO Speed", "72" + longName}}};
    const auto plan = Plan(s.Reader(), TvAvRule::WhenPresent);
    ASSERT_EQ(Steps(plan), (std::vector<Step>{Step::IsoSpeed, Step::OwnerName}));
    EXPECT_EQ(plan[0].number, 72);
    EXPECT_EQ(plan[1].text, std::string(259, 'n'));

    Section fits{{{"Save Path", "C:\\" + std::string(255, 'p')}}};  // 258 characters
    ASSERT_EQ(Plan(fits.Reader(), TvAvRule::WhenPresent).size(), 1u);
    Section full{{{"Save Path", "C:\\" + std::string(256, 'p')}}};  // 259: may have been cut
    EXPECT_TRUE(Plan(full.Reader(), TvAvRule::WhenPresent).empty());
}

TEST(StoredSettingsPlan, AReaderThatOverstatesItsLengthStaysInsideTheBuffer) {
    auto liar = [](const char*, char* buffer, size_t size) -> size_t {
        memset(buffer, 'x', size);  // no terminator, and a length past the end
        return size + 100;
    };
    const auto plan = Plan(liar, TvAvRule::WhenPresent);
    ASSERT_FALSE(plan.empty());
    for (const Action& a : plan) {
        if (a.step == Step::OwnerName) {
            EXPECT_EQ(a.text.size(), 259u);
        }
    }
    EXPECT_TRUE(Plan(nullptr, TvAvRule::WhenPresent).empty());
}
