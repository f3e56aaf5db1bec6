// The list fillers on real drop-down lists: labels and item data in order, the selection, what
// each filler does when the camera's answers fall short, and cameras offering more than fits.
#include <functional>

#include "tests/settings/settings_fixture.h"

namespace {

using Filler = SettingsTest;
using Init = std::function<BOOL(CSettingData&, HWND)>;
const Init kWB = &CSettingData::InitWBCombo, kExp = &CSettingData::InitExpCpsCombo,
           kFlash = &CSettingData::InitFlashCombo, kAv = &CSettingData::InitAvCombo, kTv = &CSettingData::InitTvCombo,
           kSize = &CSettingData::InitSizeQualityCombo, kMetering = &CSettingData::InitMeteringCombo,
           kAFPoint = &CSettingData::InitAFPointCombo, kISO = &CSettingData::InitISOCombo,
           kEffect = &CSettingData::InitPhotoEffectCombo, kAFLight = &CSettingData::InitAFLightCombo,
           kMacro = &CSettingData::InitMacroCombo;

// Size/quality entries keep addresses inside the model's format list: they are shown as
// kFormat + the index they point to.
constexpr uintptr_t kFormat = 1000;
std::vector<Entry> ListOf(HWND combo, const CSettingData& settings) {
    std::vector<Entry> entries = Entries(combo);
    uintptr_t first = reinterpret_cast<uintptr_t>(settings.GetFormatList());
    for (Entry& e : entries)
        if (e.second >= first && e.second < first + CSettingData::kMaxImageFormats * sizeof(ImageFormatPair))
            e.second = kFormat + (e.second - first) / sizeof(ImageFormatPair);
    return entries;
}

TEST_F(Filler, ListsTheLabelledValuesInTheCamerasOrderAndSelectsTheCurrentOne) {
    const struct {
        const char* keys;
        Init init;
        std::vector<Entry> entries;
        int selection;
    } cases[] = {
        // 7 has no label; the codes after it keep consecutive indexes.
        {"WB.List=0,7,255,4095,32768,1\nWB=4095", kWB,
         {{"Auto", 0}, {"AtCapture", 255}, {"Coefficient", 4095}, {"ByPos", 32768}, {"Daylight", 1}}, 2},
        {"WB.List=3,7,2\nWB=7", kWB, {{"Tungsten", 3}, {"Cloudy", 2}}, 0},  // unlisted: the first entry
        {"ExpComp.List=0,24,255,3,48\nExpComp=24", kExp, {{"+3", 0}, {"0", 24}, {"+2  2/3", 3}, {"-3", 48}}, 1},
        {"Flash.List=0,1,9,5\nFlash=5\nFlashSecond=1", kFlash, {{"Off", 0}, {"Auto", 1}, {"Auto (Red eye)", 5}}, 2},
        {"Av.List=0,32,1,32766,32767,65535\nAv=32767", kAv,
         {{"No Lens", 0}, {"2.8", 32}, {"Max", 32766}, {"Open", 32767}, {"NA", 65535}}, 3},
        {"Tv.List=4,88,91,93,53,65535\nTv=93", kTv, {{"Bulb", 4}, {"1/15", 88}, {"1/25", 93}, {"NA", 65535}}, 2},
        // Both fields of the pair decide: the current one shares its size with the first.
        {"ImageFormat.List=0:5,0:3,3:3,1:2,6:5\nImageFormat=0:3", kSize,
         {{"Large/Superfine", kFormat}, {"Large/Fine", kFormat + 1}, {"Medium/Normal", kFormat + 3},
          {"Medium2/Superfine", kFormat + 4}}, 1},
        {"RelCam.0x08000004.List=0,5,2,9\nRelCam.0x08000004.Size=1\nRelCam.0x08000004=5", kMetering,
         {{"Center-weighted averaging", 0}, {"Center-weighted averaging", 5}, {"Averaging", 2}}, 1},
        {"RelCam.0x08000005.List=0x3004,0x3000,0x3001\nRelCam.0x08000005=0x3001", kAFPoint,
         {{"AF left", 0x3004}, {"AF auto", 0x3001}}, 1},
        {"RelCam.0x0800000C.List=0,70,72\nRelCam.0x0800000C=72", kISO, {{"ISO Auto", 0}, {"ISO 100", 72}}, 1},
        {"RelCam.0x08000B00.List=5,3,7\nRelCam.0x08000B00=3", kEffect, {{"Black & White", 5}, {"Low sharpening", 3}}, 1},
        {"RelCam.0x08000C00.List=0,1,2\nRelCam.0x08000C00=1", kAFLight, {{"Off", 0}, {"On", 1}}, 1},
        {"ShootingMode=110", kMacro, {{"Off", 0}, {"On", 1}}, 1},
        {"ShootingMode=3", kMacro, {{"Off", 0}, {"On", 1}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        OpenCamera(c.keys);
        HWND combo = Combo();
        EXPECT_EQ(TRUE, c.init(settings, combo));
        EXPECT_EQ(c.entries, ListOf(combo, settings));
        EXPECT_EQ(c.selection, Selection(combo));
        EXPECT_TRUE(IsWindowEnabled(combo));
        EXPECT_TRUE(TakeReports().empty());
        CloseCamera();
    }
}

// Each list has its own rules for a failed enumeration, a failed read of the current value and
// a camera counting no values: what it returns, the list it leaves, whether the control stays
// enabled, the selection, and the one failure reported (status 0x80).
TEST_F(Filler, AnswersFallingShortFollowEachListsRules) {
    const std::vector<Entry> kept = OldEntries(), none;
    const struct {
        const char* keys;
        const char* fault;
        Init init;
        BOOL result;
        std::vector<Entry> entries;
        bool enabled;
        int selection;
        const char* report;
    } cases[] = {
        {"WB.List=0,1,2\nWB=1", "CDEnumWBSettingReset", kWB, FALSE, kept, false, 1, "EnumWBValues"},
        {"WB.List=0,1,2\nWB=1", "CDGetWBSetting", kWB, FALSE, {{"Auto", 0}, {"Daylight", 1}, {"Cloudy", 2}}, true,
         CB_ERR, "GetWBSetting"},
        {"WB.List=0,1,2\nWB=1\nWB.Count=0", nullptr, kWB, TRUE, none, true, CB_ERR, nullptr},
        {"ExpComp.List=24,0,8\nExpComp=8", "CDGetExposureCompCount", kExp, FALSE, kept, false, 1, "EnumExpCpsValues"},
        // A failed read looks for code 0.
        {"ExpComp.List=24,0,8\nExpComp=8", "CDGetExposureComp", kExp, TRUE, {{"0", 24}, {"+3", 0}, {"+2", 8}}, true,
         1, "GetExpCpsSetting"},
        {"ExpComp.List=24,0,8\nExpComp.Count=0", nullptr, kExp, FALSE, kept, false, 1, nullptr},
        // Only an empty answer stops the flash list: a failed release still leaves values and count.
        {"Flash.List=6,0,2\nFlash=2", "CDEnumFlashSettingRelease", kFlash, TRUE,
         {{"On (Red eye)", 6}, {"Off", 0}, {"On", 2}}, true, 2, "EnumFlashValues"},
        {"Flash.List=6,0,2\nFlash=2", "CDEnumFlashSettingReset", kFlash, FALSE, kept, false, 1, "EnumFlashValues"},
        {"Flash.List=6,0,2\nFlash=2", "CDGetFlashSetting", kFlash, TRUE, {{"On (Red eye)", 6}, {"Off", 0}, {"On", 2}},
         true, 1, "GetFlashSetting"},
        {"Flash.List=6,0,2\nFlash.Count=0", nullptr, kFlash, FALSE, kept, false, 1, nullptr},
        // The aperture list is never disabled here: the settings dialog sets its state from the mode.
        {"Av.List=32,35\nAv=35", "CDEnumAvValueReset", kAv, FALSE, kept, true, 1, "EnumAvValues"},
        {"Av.List=32,35\nAv=35", "CDGetAvValue", kAv, FALSE, {{"2.8", 32}, {"3.2", 35}}, true, CB_ERR, "GetAvValue"},
        {"Av.List=32,35\nAv.Count=0", nullptr, kAv, FALSE, none, true, CB_ERR, nullptr},
        {"Av.List=1,2\nAv=1", nullptr, kAv, FALSE, none, true, CB_ERR, nullptr},  // nothing labelled
        {"Tv.List=96,104\nTv=104", "CDGetTvValueCount", kTv, FALSE, kept, false, 1, "EnumTvValues"},
        {"Tv.List=96,104\nTv=104", "CDGetTvValue", kTv, TRUE, {{"1/30", 96}, {"1/60", 104}}, true, 0, "GetTvValue"},
        {"Tv.List=96,104\nTv.Count=0", nullptr, kTv, FALSE, kept, false, 1, nullptr},
        {"ImageFormat.List=0:3,1:2\nImageFormat=1:2", "CDEnumImageFormatAttributeReset", kSize, FALSE, kept, false, 1,
         "EnumSizeQualityValues"},
        // A failed read looks for {0, 0}, which is never listed.
        {"ImageFormat.List=0:3,1:2\nImageFormat=1:2", "CDGetImageFormatAttribute", kSize, TRUE,
         {{"Large/Fine", kFormat}, {"Medium/Normal", kFormat + 1}}, true, 0, "GetSizeQualitySetting"},
        {"ImageFormat.List=0:3,1:2\nImageFormat.Count=0", nullptr, kSize, TRUE, none, true, CB_ERR, nullptr},
        {"RelCam.0x0800000C.List=72,0\nRelCam.0x0800000C=72", "CDEnumRelCamSettingDataReset", kISO, FALSE, kept,
         false, 1, "EnumRelCamSettingData"},
        // A failed count disables the list without a report.
        {"RelCam.0x0800000C.List=72,0\nRelCam.0x0800000C=72", "CDGetRelCamSettingDataCount", kISO, FALSE, kept,
         false, 1, nullptr},
        {"RelCam.0x0800000C.List=72,0\nRelCam.0x0800000C=72", "CDGetRelCamSettingData", kISO, TRUE,
         {{"ISO 100", 72}, {"ISO Auto", 0}}, true, 1, "GetRelCamSettingData"},
        {"RelCam.0x0800000C.List=72,0\nRelCam.0x0800000C.Count=0", nullptr, kISO, FALSE, kept, true, 1, nullptr},
        {"", nullptr, [](CSettingData& s, HWND combo) { return s.InitRelCamSettingDataCombo(0x08000006, combo); },
         FALSE, kept, false, 1, nullptr},  // not a release-camera setting
        {"ShootingMode=110", "CDGetShootingMode", kMacro, FALSE, kept, false, 1, "GetShootingMode"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.keys) + " / " + (c.fault ? c.fault : "no fault"));
        OpenCamera(c.keys);
        if (c.fault) Fault(c.fault);
        HWND combo = Combo();
        EXPECT_EQ(c.result, c.init(settings, combo));
        EXPECT_EQ(c.entries, ListOf(combo, settings));
        EXPECT_EQ(c.enabled, IsWindowEnabled(combo) != FALSE);
        EXPECT_EQ(c.selection, Selection(combo));
        std::vector<SdkReport> reports;
        if (c.report) reports.emplace_back(0x80, c.report);
        EXPECT_EQ(reports, TakeReports());
        CloseCamera();
    }
}

// Unlabelled codes take every place but the last; the first labelled code gets it and the
// second has no room, although the camera counts far more values than it delivers.
TEST_F(Filler, ACameraOfferingMoreThanTheCapacityIsCutToIt) {
    auto keys = [](std::string key, uint32_t capacity, uint32_t fits, uint32_t noRoom) {
        return key + ".List=" + CodeList(200, capacity - 1) + "," + std::to_string(fits) + "," +
               std::to_string(noRoom) + "\n" + key + ".Count=1000\n" + key + "=" + std::to_string(fits);
    };
    std::string formats;
    for (int i = 0; i < 19; ++i) formats += "0:9,";  // quality 9 has no label
    const struct {
        std::string keys;
        Init init;
        Entry fits;
    } cases[] = {
        {keys("WB", 12, 1, 2), kWB, {"Daylight", 1}},
        {keys("ExpComp", 30, 16, 8), kExp, {"+1", 16}},
        {keys("Flash", 10, 3, 4), kFlash, {"Red eye", 3}},
        {keys("Av", 60, 40, 43), kAv, {"4.0", 40}},
        {keys("Tv", 80, 96, 104), kTv, {"1/30", 96}},
        {"ImageFormat.List=" + formats + "2:1,0:3\nImageFormat.Count=300\nImageFormat=2:1", kSize,
         {"Small/Economy", kFormat + 19}},
        {keys("RelCam.0x08000004", 8, 1, 2), kMetering, {"Spot", 1}},
        {keys("RelCam.0x08000005", 6, 0x3002, 0x3001), kAFPoint, {"AF right", 0x3002}},
        {keys("RelCam.0x0800000C", 36, 72, 0), kISO, {"ISO 100", 72}},
        {keys("RelCam.0x08000B00", 10, 4, 5), kEffect, {"Sepia", 4}},
        {keys("RelCam.0x08000C00", 2, 1, 0), kAFLight, {"On", 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        OpenCamera(c.keys);
        HWND combo = Combo();
        EXPECT_EQ(TRUE, c.init(settings, combo));
        EXPECT_EQ(std::vector<Entry>{c.fits}, ListOf(combo, settings));
        EXPECT_EQ(0, Selection(combo));
        CloseCamera();
    }
}

TEST_F(Filler, AFailedAllocationShowsOneMessageAndLeavesTheListAlone) {
    OpenCamera("ImageFormat.List=0:3\nImageFormat=0:3\nWB=1\nRelCam.0x0800000C.List=72,0");
    HWND iso = Combo(), sizes = Combo();
    FailArrayAllocations(1);
    EXPECT_FALSE(settings.InitISOCombo(iso));
    FailArrayAllocations(1);
    CSettingData broken;  // without a format list
    FailArrayAllocations(0);
    const char* text = "Allocate memory failed!";
    EXPECT_EQ((std::vector<Shown>{{"InitRelCamSettingDataCombo", text}, {"CSettingData", text}}), TakeShownMessages());
    broken.SetSource(source);
    EXPECT_FALSE(broken.InitSizeQualityCombo(sizes));
    uint32_t count = 5;
    ImageFormatPair pairs[CSettingData::kMaxImageFormats];
    EXPECT_FALSE(broken.EnumSizeQualityValues(pairs, &count));
    EXPECT_EQ(0u, count);
    for (HWND combo : {iso, sizes}) {
        EXPECT_EQ(OldEntries(), Entries(combo));
        EXPECT_TRUE(IsWindowEnabled(combo));
    }
    EXPECT_EQ(0u, Sim().SimLogCount());
    uint16_t wb = 0;  // everything else still works
    EXPECT_TRUE(broken.GetWBSetting(&wb));
    EXPECT_EQ(1, wb);
}

}  // namespace
