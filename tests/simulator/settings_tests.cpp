// Setting lists with their counts, values kept or refused, and release-camera values.
#include "tests/simulator/sim_fixture.h"

namespace {

using SettingsTest = SimTest;

TEST_F(SettingsTest, CodeListsGiveSixteenBitCodesUntilEnumNaAndTheirConfiguredCount) {
    Open("[Camera1]\nWB.List=0,255,32768\nExpComp.List=0,24,48\nExpComp.Count=0\nFlash.List=2,5\nAv.List=32,65535\n"
         "Tv.List=4,168\nTv.Count=200\nShootingMode.List=1,110\n");
#define CODE_LIST(stem) \
    {#stem, sdk_.CDEnum##stem##Reset, sdk_.CDEnum##stem##Next, sdk_.CDGet##stem##Count, sdk_.CDEnum##stem##Release}
    const struct {
        const char* name;
        PFN_CDEnumWBSettingReset reset;
        PFN_CDEnumWBSettingNext next;
        PFN_CDGetWBSettingCount count;
        PFN_CDEnumWBSettingRelease release;
    } lists[] = {CODE_LIST(WBSetting), CODE_LIST(ExposureComp), CODE_LIST(FlashSetting),
                 CODE_LIST(AvValue),   CODE_LIST(TvValue),      CODE_LIST(ShootingMode)};
#undef CODE_LIST
    const std::vector<uint16_t> codes[] = {{0, 255, 32768}, {0, 24, 48}, {2, 5}, {32, 65535}, {4, 168}, {1, 110}};
    const uint32_t counts[] = {3, 0, 2, 2, 200, 2};
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(lists[i].name);
        cdHEnum e = 0;
        uint32_t count = 0;
        uint16_t guarded[3] = {0xAAAA, 0xAAAA, 0xAAAA};
        std::vector<uint16_t> seen;
        ASSERT_EQ(cdOK, lists[i].reset(source_, &e));
        while (lists[i].next(e, &guarded[1]) == cdOK) seen.push_back(guarded[1]);
        EXPECT_EQ(cdENUM_NA, lists[i].next(e, &guarded[1])) << "the end stays the end";
        EXPECT_EQ(cdOK, InOrder({lists[i].count(e, &count), lists[i].release(e)}));
        EXPECT_EQ(codes[i], seen);
        EXPECT_EQ(counts[i], count);
        EXPECT_EQ((std::vector<uint16_t>{0xAAAA, 0xAAAA}), (std::vector<uint16_t>{guarded[0], guarded[2]})) << "16 bits";
    }
}

TEST_F(SettingsTest, ASetKeepsListedValuesOnly) {
    Open();
    EXPECT_EQ(cdOK, InOrder({sdk_.CDSetWBSetting(source_, 6), sdk_.CDSetFlashSetting(source_, 5, 255),
                             sdk_.CDSetImageFormatAttribute(source_, 2, 1)}));  // quality, size
    for (cdError refused : {sdk_.CDSetWBSetting(source_, 7), sdk_.CDSetFlashSetting(source_, 9, 1),
                            sdk_.CDSetImageFormatAttribute(source_, 1, 2), sdk_.CDSetAvValue(source_, 0xFFFE)}) {
        EXPECT_EQ(cdINVALID_PARAMETER, refused);
    }
    std::string kept;
    for (const char* key : {"WB", "Flash", "FlashSecond", "ImageSize", "ImageQuality", "Av"}) {
        kept += std::to_string(Setting(key)) + " ";
    }
    EXPECT_EQ("6 5 255 1 2 32 ", kept);
}

// Their enumerations are walked by the settings model's tests; here the value itself.
TEST_F(SettingsTest, AReleaseCameraValueIsReadInItsElementSizeOnlyAndSetOnlyWhenListed) {
    Open();
    uint32_t size = 0, value = 0xAAAAAAAA;  // a size word of 0 stands for a 4-byte buffer
    ASSERT_EQ(cdOK, sdk_.CDGetRelCamSettingData(source_, 0x08000005, &size, &value));
    EXPECT_EQ(2u, size);
    EXPECT_EQ(0xAAAA3001u, value) << "the AF point: two bytes";
    size = 1, value = 70;
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDGetRelCamSettingData(source_, 0x08000005, &size, &value)) << "too small";
    EXPECT_EQ(cdNOT_SUPPORTED, sdk_.CDGetRelCamSettingData(source_, 0x12345678, &size, &value));
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDSetRelCamSettingData(source_, 0x0800000C, 2, &value)) << "not listed";
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDSetRelCamSettingData(source_, 0x0800000C, 0, &value));
}

}  // namespace
