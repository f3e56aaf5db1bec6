// The list fillers on real drop-down lists: labels and item data in order, the selection, what
// each filler does when the camera's answers fall short, and cameras offering more than fits.
#include <functional>

#include "tests/settings/settings_fixture.h"

namespace {

using Init = std::function<BOOL(CSettingData&, HWND)>;
const Init kWB = &CSettingData::InitWBCombo, kExp = &CSettingData::InitExpCpsCombo,
           kFlash = &CSettingData::InitFlashCombo, kAv = &CSettingData::InitAvCombo, kTv = &CSettingData::InitTvCombo,
           kSize = &CSettingData::InitSizeQualityCombo, kMetering = &CSettingData::InitMeteringCombo,
           kAFPoint = &CSettingData::InitAFPointCombo, kISO = &CSettingData::InitISOCombo,
           kEffect = &CSettingData::InitPhotoEffectCombo, kAFLight = &CSettingData::InitAFLightCombo,
           kMacro = &CSettingData::InitMacroCombo;

// Size/quality entries keep addresses inside the model's format list: compared as kFormat + index.
constexpr uintptr_t kFormat = 1000;

// One filler run: the list it leaves, the selection, what it returns, whether the control stays
// enabled, and the one failure reported (a fault makes its SDK entry answer 0x80 once).
struct FillerCase {
    std::string keys;
    Init init;
    std::vector<Entry> entries;
    int selection;
    const char* fault = nullptr;
    BOOL result = TRUE;
    bool enabled = true;
    const char* report = nullptr;
};

class Filler : public SettingsTest {
protected:
    void Check(const std::vector<FillerCase>& cases) {
        for (const FillerCase& c : cases) {
            SCOPED_TRACE(c.keys + " / " + (c.fault ? c.fault : "no fault"));
            OpenCamera(c.keys);
            if (c.fault) Fault(c.fault);
            HWND combo = Combo();
            EXPECT_EQ(c.result, c.init(settings, combo));
            std::vector<Entry> entries = Entries(combo);
            uintptr_t first = reinterpret_cast<uintptr_t>(settings.GetFormatList()), size = sizeof(ImageFormatPair);
            for (Entry& e : entries)
                if (e.second - first < CSettingData::kMaxImageFormats * size)
                    e.second = kFormat + (e.second - first) / size;
            EXPECT_EQ(c.entries, entries);
            EXPECT_EQ(c.selection, Selection(combo));
            EXPECT_EQ(c.enabled, IsWindowEnabled(combo) != FALSE);
            EXPECT_EQ((c.report ? std::vector<SdkReport>{{0x80, c.report}} : std::vector<SdkReport>{}), TakeReports());
            CloseCamera();
        }
    }
};

TEST_F(Filler, ListsTheLabelledValuesInTheCamerasOrderAndSelectsTheCurrentOne) {
    Check({
        // 7 has no label; the codes after it keep consecutive indexes.
        {"WB.List=0,7,255,4095,32768,1\nWB=4095", kWB,
         {{"Auto", 0}, {"AtCapture", 255}, {"Coefficient", 4095}, {"ByPos", 32768}, {"Daylight", 1}}, 2},
        {"ExpComp.List=0,24,255,3,48\nExpComp=24", kExp, {{"+3", 0}, {"0", 24}, {"+2  2/3", 3}, {"-3", 48}}, 1},
        {"Flash.List=0,1,9,5\nFlash=5\nFlashSecond=1", kFlash, {{"Off", 0}, {"Auto", 1}, {"Auto (Red eye)", 5}}, 2},
        {"Av.List=0,32,1,32766,32767,65535\nAv=32767", kAv,
         {{"No Lens", 0}, {"2.8", 32}, {"Max", 32766}, {"Open", 32767}, {"NA", 65535}}, 3},
        {"Tv.List=4,88,91,93,53,65535\nTv=93", kTv, {{"Bulb", 4}, {"1/15", 88}, {"1/25", 93}, {"NA", 65535}}, 2},
        // Both fields of the pair decide: the current one shares its size with the first.
        {"ImageFormat.List=0:5,0:3,3:3,1:2,6:5\nImageFormat=0:3", kSize,
         {{"Large/Superfine", kFormat}, {"Large/Fine", kFormat + 1}, {"Medium/Normal", kFormat + 3},
          {"Medium2/Superfine", kFormat + 4}}, 1},
        // Release-camera lists share one routine; the other four show in the tests below.
        {"RelCam.0x08000004.List=0,5,2,9\nRelCam.0x08000004.Size=1\nRelCam.0x08000004=5", kMetering,
         {{"Center-weighted averaging", 0}, {"Center-weighted averaging", 5}, {"Averaging", 2}}, 1},
        {"ShootingMode=110", kMacro, {{"Off", 0}, {"On", 1}}, 1},
        {"ShootingMode=3", kMacro, {{"Off", 0}, {"On", 1}}, 0},
    });
}

// Each list has its own rules for a failed enumeration, a failed read of the current value and
// a camera counting no values.
TEST_F(Filler, AnswersFallingShortFollowEachListsRules) {
    const std::vector<Entry> kept = kOldEntries, none;
    const std::string wb = "WB.List=0,1,2\nWB=1", exp = "ExpComp.List=24,0,8\nExpComp=8", av = "Av.List=32,35\nAv=35",
                      flash = "Flash.List=6,0,2\nFlash=2", tv = "Tv.List=96,104\nTv=104",
                      size = "ImageFormat.List=0:3,1:2\nImageFormat=1:2",
                      iso = "RelCam.0x0800000C.List=72,0\nRelCam.0x0800000C=72";
    const std::vector<Entry> flashes = {{"On (Red eye)", 6}, {"Off", 0}, {"On", 2}};
    Check({
        {wb, kWB, kept, 1, "CDEnumWBSettingReset", FALSE, false, "EnumWBValues"},
        {wb, kWB, {{"Auto", 0}, {"Daylight", 1}, {"Cloudy", 2}}, CB_ERR, "CDGetWBSetting", FALSE, true, "GetWBSetting"},
        {wb + "\nWB.Count=0", kWB, none, CB_ERR},
        {exp, kExp, kept, 1, "CDGetExposureCompCount", FALSE, false, "EnumExpCpsValues"},
        // A failed read looks for code 0.
        {exp, kExp, {{"0", 24}, {"+3", 0}, {"+2", 8}}, 1, "CDGetExposureComp", TRUE, true, "GetExpCpsSetting"},
        {exp + "\nExpComp.Count=0", kExp, kept, 1, nullptr, FALSE, false},
        // Only an empty answer stops the flash list: a failed release still leaves values and count.
        {flash, kFlash, flashes, 2, "CDEnumFlashSettingRelease", TRUE, true, "EnumFlashValues"},
        {flash, kFlash, kept, 1, "CDEnumFlashSettingReset", FALSE, false, "EnumFlashValues"},
        {flash, kFlash, flashes, 1, "CDGetFlashSetting", TRUE, true, "GetFlashSetting"},
        {flash + "\nFlash.Count=0", kFlash, kept, 1, nullptr, FALSE, false},
        // The aperture list is never disabled here: the settings dialog sets its state from the mode.
        {av, kAv, kept, 1, "CDEnumAvValueReset", FALSE, true, "EnumAvValues"},
        {av, kAv, {{"2.8", 32}, {"3.2", 35}}, CB_ERR, "CDGetAvValue", FALSE, true, "GetAvValue"},
        {av + "\nAv.Count=0", kAv, none, CB_ERR, nullptr, FALSE},
        {"Av.List=1,2\nAv=1", kAv, none, CB_ERR, nullptr, FALSE},  // nothing labelled
        {tv, kTv, kept, 1, "CDGetTvValueCount", FALSE, false, "EnumTvValues"},
        {tv, kTv, {{"1/30", 96}, {"1/60", 104}}, 0, "CDGetTvValue", TRUE, true, "GetTvValue"},
        {tv + "\nTv.Count=0", kTv, kept, 1, nullptr, FALSE, false},
        {size, kSize, kept, 1, "CDEnumImageFormatAttributeReset", FALSE, false, "EnumSizeQualityValues"},
        // A failed read looks for {0, 0}, which is never listed.
        {size, kSize, {{"Large/Fine", kFormat}, {"Medium/Normal", kFormat + 1}}, 0, "CDGetImageFormatAttribute", TRUE,
         true, "GetSizeQualitySetting"},
        {size + "\nImageFormat.Count=0", kSize, none, CB_ERR},
        {iso, kISO, kept, 1, "CDEnumRelCamSettingDataReset", FALSE, false, "EnumRelCamSettingData"},
        {iso, kISO, {{"ISO 100", 72}, {"ISO Auto", 0}}, 1, "CDGetRelCamSettingData", TRUE, true,
         "GetRelCamSettingData"},
        {iso + "\nRelCam.0x0800000C.Count=0", kISO, kept, 1, nullptr, FALSE},
        {"", [](CSettingData& s, HWND combo) { return s.InitRelCamSettingDataCombo(0x08000006, combo); }, kept, 1,
         nullptr, FALSE, false},  // not a release-camera setting
        {"", kMacro, kept, 1, "CDGetShootingMode", FALSE, false, "GetShootingMode"},
    });
}

// Unlabelled codes take every place but the last; the first labelled code gets it and the
// second has no room, although the camera counts far more values than it delivers.
TEST_F(Filler, ACameraOfferingMoreThanTheCapacityIsCutToIt) {
    auto keys = [](std::string key, uint32_t capacity, uint32_t fits, uint32_t noRoom) {
        std::string list = key + ".List=";
        for (uint32_t code = 200; code < 200 + capacity - 1; ++code) list += std::to_string(code) + ",";
        return list + std::to_string(fits) + "," + std::to_string(noRoom) + "\n" + key + ".Count=1000\n" + key + "=" +
               std::to_string(fits);
    };
    std::string formats;
    for (int i = 0; i < 19; ++i) formats += "0:9,";  // quality 9 has no label
    Check({
        {keys("WB", 12, 1, 2), kWB, {{"Daylight", 1}}, 0},
        {keys("ExpComp", 30, 16, 8), kExp, {{"+1", 16}}, 0},
        {keys("Flash", 10, 3, 4), kFlash, {{"Red eye", 3}}, 0},
        {keys("Av", 60, 40, 43), kAv, {{"4.0", 40}}, 0},
        {keys("Tv", 80, 96, 104), kTv, {{"1/30", 96}}, 0},
        {"ImageFormat.List=" + formats + "2:1,0:3\nImageFormat.Count=300\nImageFormat=2:1", kSize,
         {{"Small/Economy", kFormat + 19}}, 0},
        {keys("RelCam.0x08000004", 8, 1, 2), kMetering, {{"Spot", 1}}, 0},
        {keys("RelCam.0x08000005", 6, 0x3002, 0x3001), kAFPoint, {{"AF right", 0x3002}}, 0},
        {keys("RelCam.0x0800000C", 36, 72, 0), kISO, {{"ISO 100", 72}}, 0},
        {keys("RelCam.0x08000B00", 10, 4, 5), kEffect, {{"Sepia", 4}}, 0},
        {keys("RelCam.0x08000C00", 2, 1, 0), kAFLight, {{"On", 1}}, 0},
    });
}

TEST_F(Filler, AFailedAllocationShowsOneMessageAndLeavesTheListAlone) {
    OpenCamera("WB=1");
    HWND iso = Combo(), sizes = Combo();
    FailArrayAllocations(2);
    EXPECT_FALSE(settings.InitISOCombo(iso));
    CSettingData broken;  // without a format list
    const char* text = "Allocate memory failed!";
    EXPECT_EQ((std::vector<Shown>{{"InitRelCamSettingDataCombo", text}, {"CSettingData", text}}), TakeShownMessages());
    broken.SetSource(source);
    uint16_t wb = 0;  // everything else still works
    EXPECT_FALSE(broken.InitSizeQualityCombo(sizes));
    EXPECT_TRUE(broken.GetWBSetting(&wb));
    EXPECT_EQ(1, wb);
    EXPECT_EQ(1u, Sim().SimLogCount());  // the read of the white balance
    for (HWND combo : {iso, sizes}) {
        EXPECT_EQ(kOldEntries, Entries(combo));
        EXPECT_TRUE(IsWindowEnabled(combo));
    }
}

}  // namespace
