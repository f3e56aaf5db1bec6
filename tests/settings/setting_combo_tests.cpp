// The list fillers on real drop-down lists: labels and item data in order, the selection,
// and what each filler does when the camera's answers fall short.
#include "tests/settings/settings_fixture.h"

namespace {

using Filler = SettingsTest;

const char* const kAllocationFailed = "Allocate memory failed!";

// ---- white balance: the worked example

TEST_F(Filler, WhiteBalanceListsLabelledCodesWithConsecutiveIndexes) {
    OpenCamera("WB.List=0,7,255,4095,32768,1\nWB=4095");
    HWND combo = NewCombo();
    FillWithOldEntries(combo);
    EXPECT_EQ(TRUE, settings.InitWBCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"Auto", 0}, {"AtCapture", 255}, {"Coefficient", 4095}, {"ByPos", 32768},
                                  {"Daylight", 1}}),
              Entries(combo));
    EXPECT_EQ(2, Selection(combo));
    EXPECT_TRUE(IsWindowEnabled(combo));
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Filler, WhiteBalanceGivesUpOnlyWhenTheEnumerationFails) {
    OpenCamera("WB.List=0,1,2\nWB=1");
    HWND combo = NewCombo();
    FillWithOldEntries(combo);
    Fault("CDEnumWBSettingReset", 0x80, 1);
    EXPECT_FALSE(settings.InitWBCombo(combo));
    EXPECT_EQ(OldEntries(), Entries(combo));
    EXPECT_FALSE(IsWindowEnabled(combo));

    // A failed read leaves the fresh list without a selection.
    HWND unread = NewCombo();
    Fault("CDGetWBSetting", 0x80, 1);
    EXPECT_FALSE(settings.InitWBCombo(unread));
    EXPECT_EQ((std::vector<Entry>{{"Auto", 0}, {"Daylight", 1}, {"Cloudy", 2}}), Entries(unread));
    EXPECT_EQ(CB_ERR, Selection(unread));
    EXPECT_EQ((std::vector<SdkReport>{{0x80, "EnumWBValues"}, {0x80, "GetWBSetting"}}), TakeReports());
    CloseCamera();

    // No values: emptied, still enabled, and a success when the current value can be read.
    OpenCamera("WB.List=0,1,2\nWB=1\nWB.Count=0");
    HWND empty = NewCombo();
    FillWithOldEntries(empty);
    EXPECT_EQ(TRUE, settings.InitWBCombo(empty));
    EXPECT_TRUE(Entries(empty).empty());
    EXPECT_TRUE(IsWindowEnabled(empty));
}

TEST_F(Filler, WhiteBalanceSelectsTheFirstEntryForAnUnlistedValue) {
    OpenCamera("WB.List=3,7,2\nWB=7");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitWBCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"Tungsten", 3}, {"Cloudy", 2}}), Entries(combo));
    EXPECT_EQ(0, Selection(combo));
}

TEST_F(Filler, WhiteBalanceStopsAtTwelveCodesAndReadsMissingOnesAsZero) {
    // Eleven unlabelled codes, then Daylight as the twelfth; Cloudy and Tungsten have no room.
    OpenCamera("WB.List=" + CodeList(100, 11) + ",1,2,3\nWB=1");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitWBCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"Daylight", 1}}), Entries(combo));
    EXPECT_EQ(0, Selection(combo));
    CloseCamera();

    // The camera counts four but delivers two: the missing two read as code 0.
    OpenCamera("WB.List=1,2\nWB.Count=4\nWB=2");
    EXPECT_EQ(TRUE, settings.InitWBCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"Daylight", 1}, {"Cloudy", 2}, {"Auto", 0}, {"Auto", 0}}), Entries(combo));
    EXPECT_EQ(1, Selection(combo));
}

// ---- exposure compensation

TEST_F(Filler, ExposureCompensationLabelsAndSelection) {
    OpenCamera("ExpComp.List=0,24,255,3,48\nExpComp=24");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitExpCpsCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"+3", 0}, {"0", 24}, {"+2  2/3", 3}, {"-3", 48}}), Entries(combo));
    EXPECT_EQ(1, Selection(combo));
}

TEST_F(Filler, ExposureCompensationDisablesForNoValuesAndIgnoresAFailedRead) {
    OpenCamera("ExpComp.List=24,0,8\nExpComp=8\nExpComp.Count=0");
    HWND combo = NewCombo();
    FillWithOldEntries(combo);
    EXPECT_FALSE(settings.InitExpCpsCombo(combo));
    EXPECT_EQ(OldEntries(), Entries(combo));
    EXPECT_FALSE(IsWindowEnabled(combo));
    CloseCamera();

    OpenCamera("ExpComp.List=24,0,8\nExpComp=8");
    HWND failing = NewCombo();
    FillWithOldEntries(failing);
    Fault("CDEnumExposureCompNext", 0x80, 1);
    Fault("CDGetExposureCompCount", 0x80, 1);
    EXPECT_FALSE(settings.InitExpCpsCombo(failing));
    EXPECT_EQ(OldEntries(), Entries(failing));
    EXPECT_FALSE(IsWindowEnabled(failing));

    // The failed read searches for code 0 ("+3").
    HWND unread = NewCombo();
    Fault("CDGetExposureComp", 0x80, 1);
    EXPECT_EQ(TRUE, settings.InitExpCpsCombo(unread));
    EXPECT_EQ(1, Selection(unread));
}

TEST_F(Filler, ExposureCompensationStopsAtThirtyCodes) {
    OpenCamera("ExpComp.List=" + CodeList(100, 29) + ",16,8\nExpComp=16");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitExpCpsCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"+1", 16}}), Entries(combo));
}

// ---- flash

TEST_F(Filler, FlashFindsTheModeWithoutItsSecondValue) {
    OpenCamera("Flash.List=0,1,9,5\nFlash=5\nFlashSecond=1");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitFlashCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"Off", 0}, {"Auto", 1}, {"Auto (Red eye)", 5}}), Entries(combo));
    EXPECT_EQ(2, Selection(combo));
}

TEST_F(Filler, FlashIsDisabledOnlyByAnEmptyAnswer) {
    OpenCamera("Flash.List=6,0,2\nFlash=2");
    // A failed release still leaves the values and the count: the list is filled.
    HWND released = NewCombo();
    Fault("CDEnumFlashSettingRelease", 0x80, 1);
    EXPECT_EQ(TRUE, settings.InitFlashCombo(released));
    EXPECT_EQ((std::vector<Entry>{{"On (Red eye)", 6}, {"Off", 0}, {"On", 2}}), Entries(released));
    EXPECT_EQ(2, Selection(released));

    // A failed reset leaves no count.
    HWND reset = NewCombo();
    FillWithOldEntries(reset);
    Fault("CDEnumFlashSettingReset", 0x80, 1);
    EXPECT_FALSE(settings.InitFlashCombo(reset));
    EXPECT_EQ(OldEntries(), Entries(reset));
    EXPECT_FALSE(IsWindowEnabled(reset));

    // A failed read searches for mode 0.
    HWND unread = NewCombo();
    Fault("CDGetFlashSetting", 0x80, 1);
    EXPECT_EQ(TRUE, settings.InitFlashCombo(unread));
    EXPECT_EQ(1, Selection(unread));
    CloseCamera();

    OpenCamera("Flash.List=6,0,2\nFlash.Count=0");
    HWND none = NewCombo();
    EXPECT_FALSE(settings.InitFlashCombo(none));
    EXPECT_FALSE(IsWindowEnabled(none));
}

TEST_F(Filler, FlashStopsAtTenCodes) {
    OpenCamera("Flash.List=" + CodeList(20, 9) + ",3,4\nFlash=3");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitFlashCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"Red eye", 3}}), Entries(combo));
}

// ---- aperture: never disabled here

TEST_F(Filler, ApertureSpecialCodes) {
    OpenCamera("Av.List=0,32,1,32766,32767,65535\nAv=32767");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitAvCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"No Lens", 0}, {"2.8", 32}, {"Max", 32766}, {"Open", 32767}, {"NA", 65535}}),
              Entries(combo));
    EXPECT_EQ(3, Selection(combo));
}

TEST_F(Filler, ApertureKeepsItsEnableStateWhateverHappens) {
    OpenCamera("Av.List=32,35,1\nAv=1");
    HWND unlisted = NewCombo();
    EXPECT_EQ(TRUE, settings.InitAvCombo(unlisted));
    EXPECT_EQ((std::vector<Entry>{{"2.8", 32}, {"3.2", 35}}), Entries(unlisted));
    EXPECT_EQ(0, Selection(unlisted));

    HWND failed = NewCombo();
    FillWithOldEntries(failed);
    Fault("CDEnumAvValueReset", 0x80, 1);
    EXPECT_FALSE(settings.InitAvCombo(failed));
    EXPECT_EQ(OldEntries(), Entries(failed));
    EXPECT_EQ(1, Selection(failed));
    EXPECT_TRUE(IsWindowEnabled(failed));

    HWND unread = NewCombo();
    Fault("CDGetAvValue", 0x80, 1);
    EXPECT_FALSE(settings.InitAvCombo(unread));
    EXPECT_EQ(2u, Entries(unread).size());
    EXPECT_EQ(CB_ERR, Selection(unread));
    CloseCamera();

    OpenCamera("Av.List=32,35\nAv.Count=0");
    HWND none = NewCombo();
    FillWithOldEntries(none);
    EXPECT_FALSE(settings.InitAvCombo(none));
    EXPECT_TRUE(Entries(none).empty());
    EXPECT_TRUE(IsWindowEnabled(none));
    CloseCamera();

    // Values, but none with a label: an empty list is a failure.
    OpenCamera("Av.List=1,2\nAv=1");
    HWND unlabelled = NewCombo();
    EXPECT_FALSE(settings.InitAvCombo(unlabelled));
    EXPECT_TRUE(Entries(unlabelled).empty());
    EXPECT_TRUE(IsWindowEnabled(unlabelled));
}

TEST_F(Filler, ApertureStopsAtSixtyCodes) {
    OpenCamera("Av.List=" + CodeList(200, 59) + ",40,43\nAv=43");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitAvCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"4.0", 40}}), Entries(combo));
}

// ---- shutter speed

TEST_F(Filler, ShutterSpeedSkipsCode91AndKeepsIndexesConsecutive) {
    OpenCamera("Tv.List=4,88,91,93,53,65535\nTv=93");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitTvCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"Bulb", 4}, {"1/15", 88}, {"1/25", 93}, {"NA", 65535}}), Entries(combo));
    EXPECT_EQ(2, Selection(combo));
}

TEST_F(Filler, ShutterSpeedDisablesForAFailureOrNoValues) {
    OpenCamera("Tv.List=96,104\nTv=104");
    HWND failed = NewCombo();
    FillWithOldEntries(failed);
    Fault("CDGetTvValueCount", 0x80, 1);
    EXPECT_FALSE(settings.InitTvCombo(failed));
    EXPECT_EQ(OldEntries(), Entries(failed));
    EXPECT_FALSE(IsWindowEnabled(failed));

    HWND unread = NewCombo();
    Fault("CDGetTvValue", 0x80, 1);
    EXPECT_EQ(TRUE, settings.InitTvCombo(unread));
    EXPECT_EQ(0, Selection(unread));
    CloseCamera();

    OpenCamera("Tv.List=96,104\nTv.Count=0");
    HWND none = NewCombo();
    EXPECT_FALSE(settings.InitTvCombo(none));
    EXPECT_FALSE(IsWindowEnabled(none));
}

TEST_F(Filler, ShutterSpeedStopsAtEightyCodes) {
    OpenCamera("Tv.List=" + CodeList(200, 79) + ",96,104\nTv=96");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitTvCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"1/30", 96}}), Entries(combo));
    EXPECT_EQ(0, Selection(combo));
}

// ---- image size and quality: item data point into the model's format list

TEST_F(Filler, SizeQualityEntriesPointIntoTheFormatList) {
    // The current pair shares its size with the first one: both fields decide.
    OpenCamera("ImageFormat.List=0:5,0:3,3:3,1:2,6:5\nImageFormat=0:3");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitSizeQualityCombo(combo));
    std::vector<std::string> labels;
    for (const Entry& entry : Entries(combo)) labels.push_back(entry.first);
    EXPECT_EQ((std::vector<std::string>{"Large/Superfine", "Large/Fine", "Medium/Normal", "Medium2/Superfine"}), labels);
    const ImageFormatPair* formats = settings.GetFormatList();
    ASSERT_NE(nullptr, formats);
    EXPECT_EQ((std::vector<uintptr_t>{reinterpret_cast<uintptr_t>(formats), reinterpret_cast<uintptr_t>(formats + 1),
                                      reinterpret_cast<uintptr_t>(formats + 3), reinterpret_cast<uintptr_t>(formats + 4)}),
              ItemData(combo));
    EXPECT_EQ(1, Selection(combo));
    // What the settings dialog writes back for the selected entry.
    const ImageFormatPair* chosen = reinterpret_cast<const ImageFormatPair*>(ItemData(combo)[1]);
    EXPECT_EQ(0, chosen->size);
    EXPECT_EQ(3, chosen->quality);
}

TEST_F(Filler, SizeQualityGivingUp) {
    OpenCamera("ImageFormat.List=0:3,1:2\nImageFormat=1:2");
    EXPECT_FALSE(settings.InitSizeQualityCombo(nullptr));
    EXPECT_EQ(0u, Sim().SimLogCount());

    HWND failed = NewCombo();
    FillWithOldEntries(failed);
    Fault("CDEnumImageFormatAttributeReset", 0x80, 1);
    EXPECT_FALSE(settings.InitSizeQualityCombo(failed));
    EXPECT_EQ(OldEntries(), Entries(failed));
    EXPECT_FALSE(IsWindowEnabled(failed));

    // A failed read looks for {0, 0}, which is never listed.
    HWND unread = NewCombo();
    Fault("CDGetImageFormatAttribute", 0x80, 1);
    EXPECT_EQ(TRUE, settings.InitSizeQualityCombo(unread));
    EXPECT_EQ(2u, Entries(unread).size());
    EXPECT_EQ(0, Selection(unread));
    CloseCamera();

    OpenCamera("ImageFormat.List=0:3,1:2\nImageFormat.Count=0");
    HWND none = NewCombo();
    FillWithOldEntries(none);
    EXPECT_EQ(TRUE, settings.InitSizeQualityCombo(none));
    EXPECT_TRUE(Entries(none).empty());
    EXPECT_TRUE(IsWindowEnabled(none));
}

TEST_F(Filler, SizeQualityStopsAtTwentyPairs) {
    std::string list;
    for (int i = 0; i < 19; ++i) list += "0:9,";  // quality 9 has no label
    OpenCamera("ImageFormat.List=" + list + "2:1,0:3\nImageFormat=0:3");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitSizeQualityCombo(combo));
    ASSERT_EQ(1u, Entries(combo).size());
    EXPECT_EQ("Small/Economy", Entries(combo)[0].first);
}

TEST_F(Filler, SizeQualityWithoutAFormatListTouchesNothing) {
    OpenCamera("ImageFormat.List=0:3\nImageFormat=0:3\nWB.List=0,1\nWB=1");
    FailArrayAllocations(1);
    CSettingData broken;
    FailArrayAllocations(0);
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{{"CSettingData", kAllocationFailed}}),
              TakeShownMessages());
    EXPECT_EQ(nullptr, broken.GetFormatList());
    broken.SetSource(source);
    HWND combo = NewCombo();
    FillWithOldEntries(combo);
    Sim().SimLogClear();
    EXPECT_FALSE(broken.InitSizeQualityCombo(combo));
    ImageFormatPair pairs[20];
    uint32_t count = 5;
    EXPECT_FALSE(broken.EnumSizeQualityValues(pairs, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(OldEntries(), Entries(combo));
    EXPECT_TRUE(IsWindowEnabled(combo));
    EXPECT_EQ(0u, Sim().SimLogCount());
    // Everything else still works.
    uint16_t wb = 0;
    EXPECT_TRUE(broken.GetWBSetting(&wb));
    EXPECT_EQ(1, wb);
}

// ---- release-camera settings

TEST_F(Filler, MeteringListsBothCentreWeightedCodesAndWritesEachBack) {
    OpenCamera("RelCam.0x08000004.List=0,5,2,9\nRelCam.0x08000004.Size=1\nRelCam.0x08000004=5");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitMeteringCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"Center-weighted averaging", 0}, {"Center-weighted averaging", 5},
                                  {"Averaging", 2}}),
              Entries(combo));
    EXPECT_EQ(1, Selection(combo));

    for (int index : {1, 0}) {
        Sim().SimLogClear();
        uint32_t itemData = static_cast<uint32_t>(ItemData(combo)[index]);
        EXPECT_TRUE(settings.SetMeteringMode(&itemData));
        auto sets = CallsNamed("CDSetRelCamSettingData");
        ASSERT_EQ(1u, sets.size());
        ASSERT_EQ(1u, sets[0].dataSize);
        EXPECT_EQ(itemData, sets[0].data[0]);
    }
}

TEST_F(Filler, ReleaseCameraListsShowOnlyLabelledValues) {
    OpenCamera("RelCam.0x0800000C.List=0,70,72\nRelCam.0x0800000C=72\n"
               "RelCam.0x08000C00.List=0,1,2\nRelCam.0x08000C00=1\n"
               "RelCam.0x08000005.List=0x3004,0x3000,0x3001\nRelCam.0x08000005=0x3001\n"
               "RelCam.0x08000B00.List=5,3,7\nRelCam.0x08000B00=3");
    HWND iso = NewCombo(), light = NewCombo(), point = NewCombo(), effect = NewCombo();
    EXPECT_EQ(TRUE, settings.InitISOCombo(iso));
    EXPECT_EQ((std::vector<Entry>{{"ISO Auto", 0}, {"ISO 100", 72}}), Entries(iso));
    EXPECT_EQ(1, Selection(iso));
    EXPECT_EQ(TRUE, settings.InitAFLightCombo(light));
    EXPECT_EQ((std::vector<Entry>{{"Off", 0}, {"On", 1}}), Entries(light));
    EXPECT_EQ(1, Selection(light));
    EXPECT_EQ(TRUE, settings.InitAFPointCombo(point));
    EXPECT_EQ((std::vector<Entry>{{"AF left", 0x3004}, {"AF auto", 0x3001}}), Entries(point));
    EXPECT_EQ(1, Selection(point));
    EXPECT_EQ(TRUE, settings.InitPhotoEffectCombo(effect));
    EXPECT_EQ((std::vector<Entry>{{"Black & White", 5}, {"Low sharpening", 3}}), Entries(effect));
    EXPECT_EQ(1, Selection(effect));

    // The current value is read with a size word of 0 into a 4-byte value.
    auto reads = CallsNamed("CDGetRelCamSettingData");
    ASSERT_EQ(4u, reads.size());
    EXPECT_EQ(0x0800000Cu, reads[0].args[1]);
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Filler, ReleaseCameraGivingUp) {
    OpenCamera("RelCam.0x0800000C.List=72,0\nRelCam.0x0800000C=72");
    HWND unknown = NewCombo();
    EXPECT_FALSE(settings.InitRelCamSettingDataCombo(0x08000006, unknown));
    EXPECT_FALSE(IsWindowEnabled(unknown));
    EXPECT_EQ(0u, Sim().SimLogCount());

    HWND unallocated = NewCombo();
    FillWithOldEntries(unallocated);
    FailArrayAllocations(1);
    EXPECT_FALSE(settings.InitISOCombo(unallocated));
    FailArrayAllocations(0);
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{{"InitRelCamSettingDataCombo", kAllocationFailed}}),
              TakeShownMessages());
    EXPECT_EQ(OldEntries(), Entries(unallocated));
    EXPECT_TRUE(IsWindowEnabled(unallocated));
    EXPECT_EQ(0u, Sim().SimLogCount());

    HWND failed = NewCombo();
    FillWithOldEntries(failed);
    Fault("CDEnumRelCamSettingDataReset", 0x80, 1);
    EXPECT_FALSE(settings.InitISOCombo(failed));
    EXPECT_EQ(OldEntries(), Entries(failed));
    EXPECT_FALSE(IsWindowEnabled(failed));
    EXPECT_EQ((std::vector<SdkReport>{{0x80, "EnumRelCamSettingData"}}), TakeReports());

    // A failed count disables the list without any report.
    HWND uncounted = NewCombo();
    Fault("CDGetRelCamSettingDataCount", 0x80, 1);
    EXPECT_FALSE(settings.InitISOCombo(uncounted));
    EXPECT_FALSE(IsWindowEnabled(uncounted));
    EXPECT_TRUE(TakeReports().empty());

    // A failed read of the current value searches for 0.
    HWND unread = NewCombo();
    Fault("CDGetRelCamSettingData", 0x80, 1);
    EXPECT_EQ(TRUE, settings.InitISOCombo(unread));
    EXPECT_EQ((std::vector<Entry>{{"ISO 100", 72}, {"ISO Auto", 0}}), Entries(unread));
    EXPECT_EQ(1, Selection(unread));
    EXPECT_EQ((std::vector<SdkReport>{{0x80, "GetRelCamSettingData"}}), TakeReports());
    CloseCamera();

    // No values: the list keeps its entries and its state.
    OpenCamera("RelCam.0x0800000C.List=72,0\nRelCam.0x0800000C.Count=0");
    HWND none = NewCombo();
    FillWithOldEntries(none);
    EXPECT_FALSE(settings.InitISOCombo(none));
    EXPECT_EQ(OldEntries(), Entries(none));
    EXPECT_TRUE(IsWindowEnabled(none));
}

TEST_F(Filler, ReleaseCameraListsStopAtTheirCapacity) {
    // ISO: 36 values without a label, then ISO 100 which has no room.
    OpenCamera("RelCam.0x0800000C.List=" + CodeList(1, 36) + ",72\nRelCam.0x0800000C.Count=500\n"
               "RelCam.0x08000C00.List=7,8,1\nRelCam.0x08000C00=1");
    HWND iso = NewCombo();
    EXPECT_EQ(TRUE, settings.InitISOCombo(iso));
    EXPECT_TRUE(Entries(iso).empty());
    HWND light = NewCombo();
    EXPECT_EQ(TRUE, settings.InitAFLightCombo(light));
    EXPECT_TRUE(Entries(light).empty());
    // 36 values asked for ISO, 2 for the AF-assist light.
    EXPECT_EQ(38u, CallsNamed("CDEnumRelCamSettingDataNext").size());
}

// ---- macro

TEST_F(Filler, MacroShowsOnForShootingMode110) {
    OpenCamera("ShootingMode.List=1,2,3,4,110\nShootingMode=110");
    HWND combo = NewCombo();
    EXPECT_EQ(TRUE, settings.InitMacroCombo(combo));
    EXPECT_EQ((std::vector<Entry>{{"Off", 0}, {"On", 1}}), Entries(combo));
    EXPECT_EQ(1, Selection(combo));

    settings.SetShootingMode(3);
    EXPECT_EQ(TRUE, settings.InitMacroCombo(combo));
    EXPECT_EQ(2u, Entries(combo).size());
    EXPECT_EQ(0, Selection(combo));

    HWND failed = NewCombo();
    FillWithOldEntries(failed);
    Fault("CDGetShootingMode", 0x80, 1);
    EXPECT_FALSE(settings.InitMacroCombo(failed));
    EXPECT_EQ(OldEntries(), Entries(failed));
    EXPECT_FALSE(IsWindowEnabled(failed));
}

}  // namespace
