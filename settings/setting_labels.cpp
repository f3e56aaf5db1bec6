#include "settings/setting_labels.h"

#include <cstring>

namespace {

template <size_t N>
constexpr LabelTable MakeTable(const LabelRow (&rows)[N]) {
    return LabelTable{rows, N};
}

const LabelRow kImageSize[] = {
    {0, "Large"}, {1, "Medium"}, {2, "Small"}, {5, "Medium1"}, {6, "Medium2"},
};

const LabelRow kQuality[] = {
    {1, "Economy"}, {2, "Normal"}, {3, "Fine"}, {4, "Lossless"}, {5, "Superfine"},
};

const LabelRow kWhiteBalance[] = {
    {0, "Auto"},      {1, "Daylight"},       {2, "Cloudy"},      {3, "Tungsten"},
    {4, "Fluorescent"}, {5, "Flash"},        {6, "Custom"},      {0x00FF, "AtCapture"},
    {0x0FFF, "Coefficient"}, {0x8000, "ByPos"},
};

// Eight units per stop from +3 (code 0) down to -3 (code 0x30).
const LabelRow kExposureComp[] = {
    {0x00, "+3"},      {0x03, "+2  2/3"}, {0x04, "+2  1/2"}, {0x05, "+2  1/3"}, {0x08, "+2"},
    {0x0B, "+1  2/3"}, {0x0C, "+1  1/2"}, {0x0D, "+1  1/3"}, {0x10, "+1"},      {0x13, "+2/3"},
    {0x14, "+1/2"},    {0x15, "+1/3"},    {0x18, "0"},       {0x1B, "-1/3"},    {0x1C, "-1/2"},
    {0x1D, "-2/3"},    {0x20, "-1"},      {0x23, "-1  1/3"}, {0x24, "-1  1/2"}, {0x25, "-1  2/3"},
    {0x28, "-2"},      {0x2B, "-2  1/3"}, {0x2C, "-2  1/2"}, {0x2D, "-2  2/3"}, {0x30, "-3"},
};

const LabelRow kFlash[] = {
    {0, "Off"}, {1, "Auto"}, {2, "On"}, {3, "Red eye"}, {4, "Slow sync"}, {5, "Auto (Red eye)"}, {6, "On (Red eye)"},
};

const LabelRow kAperture[] = {
    {0x00, "No Lens"}, {0x08, "1.0"}, {0x0B, "1.1"}, {0x0D, "1.2"}, {0x10, "1.4"}, {0x13, "1.6"},
    {0x15, "1.8"},     {0x18, "2.0"}, {0x1B, "2.2"}, {0x1D, "2.5"}, {0x20, "2.8"}, {0x23, "3.2"},
    {0x25, "3.5"},     {0x28, "4.0"}, {0x2B, "4.5"}, {0x2D, "5.0"}, {0x30, "5.6"}, {0x33, "6.3"},
    {0x35, "7.1"},     {0x38, "8.0"}, {0x3B, "9.0"}, {0x3D, "10"},  {0x40, "11"},  {0x43, "13"},
    {0x45, "14"},      {0x48, "16"},  {0x4B, "18"},  {0x4D, "20"},  {0x50, "22"},  {0x53, "25"},
    {0x55, "29"},      {0x58, "32"},  {0x5B, "36"},  {0x5D, "40"},  {0x60, "45"},  {0x63, "51"},
    {0x65, "57"},      {0x68, "64"},  {0x6B, "72"},  {0x6D, "81"},  {0x70, "91"},  {0x7FFE, "Max"},
    {0x7FFF, "Open"},  {0xFFFF, "NA"},
};

// Two apostrophes mark seconds: "0''8" is 0.8 s.
const LabelRow kShutterSpeed[] = {
    {0x04, "Bulb"},    {0x10, "30''"},    {0x13, "25''"},    {0x15, "20''"},    {0x18, "15''"},
    {0x1B, "13''"},    {0x1D, "10''"},    {0x20, "8''"},     {0x23, "6''"},     {0x25, "5''"},
    {0x28, "4''"},     {0x2B, "3''2"},    {0x2D, "2''5"},    {0x30, "2''"},     {0x33, "1''6"},
    {0x38, "1''"},     {0x3B, "0''8"},    {0x3D, "0''6"},    {0x40, "0''5"},    {0x43, "0''4"},
    {0x45, "0''3"},    {0x48, "1/4"},     {0x4B, "1/5"},     {0x4D, "1/6"},     {0x50, "1/8"},
    {0x53, "1/10"},    {0x55, "1/13"},    {0x58, "1/15"},    {0x5D, "1/25"},    {0x60, "1/30"},
    {0x63, "1/40"},    {0x65, "1/50"},    {0x68, "1/60"},    {0x6B, "1/80"},    {0x6D, "1/100"},
    {0x70, "1/125"},   {0x73, "1/160"},   {0x75, "1/200"},   {0x78, "1/250"},   {0x7B, "1/320"},
    {0x7D, "1/400"},   {0x80, "1/500"},   {0x83, "1/640"},   {0x85, "1/800"},   {0x88, "1/1000"},
    {0x8B, "1/1250"},  {0x8D, "1/1600"},  {0x90, "1/2000"},  {0x93, "1/2500"},  {0x95, "1/3200"},
    {0x98, "1/4000"},  {0x9B, "1/5000"},  {0x9D, "1/6400"},  {0xA0, "1/8000"},  {0xA3, "1/10000"},
    {0xA5, "1/12800"}, {0xA8, "1/16000"}, {0xFFFF, "NA"},
};

// Cameras report centre-weighted averaging under two codes.
const LabelRow kMetering[] = {
    {0, "Center-weighted averaging"}, {1, "Spot"}, {2, "Averaging"}, {3, "Evaluative"}, {4, "Partial"},
    {5, "Center-weighted averaging"},
};

const LabelRow kAFPoint[] = {
    {0x3001, "AF auto"}, {0x3002, "AF right"}, {0x3003, "AF center"}, {0x3004, "AF left"},
};

const LabelRow kPhotoEffect[] = {
    {0, "Off"}, {1, "Vivid"}, {2, "Neutral"}, {3, "Low sharpening"}, {4, "Sepia"}, {5, "Black & White"}, {6, "Custom"},
};

const LabelRow kAFLight[] = {{0, "Off"}, {1, "On"}};

const LabelRow kISO[] = {
    {0x00, "ISO Auto"}, {0x28, "ISO 6"},    {0x2B, "ISO 8"},    {0x2D, "ISO 10"},   {0x30, "ISO 12"},
    {0x33, "ISO 16"},   {0x35, "ISO 20"},   {0x38, "ISO 25"},   {0x3B, "ISO 32"},   {0x3D, "ISO 40"},
    {0x40, "ISO 50"},   {0x43, "ISO 64"},   {0x45, "ISO 80"},   {0x48, "ISO 100"},  {0x4B, "ISO 125"},
    {0x4D, "ISO 160"},  {0x50, "ISO 200"},  {0x53, "ISO 250"},  {0x55, "ISO 320"},  {0x58, "ISO 400"},
    {0x5B, "ISO 500"},  {0x5D, "ISO 640"},  {0x60, "ISO 800"},  {0x63, "ISO 1000"}, {0x65, "ISO 1250"},
    {0x68, "ISO 1600"}, {0x6B, "ISO 2000"}, {0x6D, "ISO 2500"}, {0x70, "ISO 3200"}, {0x73, "ISO 4000"},
    {0x75, "ISO 5000"}, {0x78, "ISO 6400"},
};

const LabelRow kMacro[] = {{0, "Off"}, {1, "On"}};
const LabelRow kShootingMode[] = {
    {1, "Program AE"}, {2, "Shutter Speed Priority"}, {3, "Aperture-Priority AE"}, {4, "Manual"}};

const RelCamSetting kRelCamSettings[] = {
    {0x08000004, 1, 8, 1, MeteringLabels},
    {0x08000005, 2, 6, 2, AFPointLabels},
    {0x0800000C, 2, 36, 2, ISOLabels},
    {0x08000B00, 2, 10, 2, PhotoEffectLabels},
    {0x08000C00, 2, 2, 2, AFLightLabels},
};

}  // namespace

const char* FindLabel(const LabelTable& table, uint32_t code) {
    for (size_t i = 0; i < table.count; ++i)
        if (table.rows[i].code == code) return table.rows[i].text;
    return "";
}

#define KAMVIO_LABEL_TABLE(function, rows)               \
    const LabelTable& function() {                       \
        static constexpr LabelTable table = MakeTable(rows); \
        return table;                                    \
    }
KAMVIO_LABEL_TABLE(ImageSizeLabels, kImageSize)
KAMVIO_LABEL_TABLE(QualityLabels, kQuality)
KAMVIO_LABEL_TABLE(WhiteBalanceLabels, kWhiteBalance)
KAMVIO_LABEL_TABLE(ExposureCompLabels, kExposureComp)
KAMVIO_LABEL_TABLE(FlashLabels, kFlash)
KAMVIO_LABEL_TABLE(ApertureLabels, kAperture)
KAMVIO_LABEL_TABLE(ShutterSpeedLabels, kShutterSpeed)
KAMVIO_LABEL_TABLE(MeteringLabels, kMetering)
KAMVIO_LABEL_TABLE(AFPointLabels, kAFPoint)
KAMVIO_LABEL_TABLE(PhotoEffectLabels, kPhotoEffect)
KAMVIO_LABEL_TABLE(AFLightLabels, kAFLight)
KAMVIO_LABEL_TABLE(ISOLabels, kISO)
KAMVIO_LABEL_TABLE(MacroLabels, kMacro)
KAMVIO_LABEL_TABLE(ShootingModeLabels, kShootingMode)
#undef KAMVIO_LABEL_TABLE

std::string SizeQualityLabel(uint32_t size, uint32_t quality) {
    const char* sizeText = FindLabel(ImageSizeLabels(), size);
    const char* qualityText = FindLabel(QualityLabels(), quality);
    if (!*sizeText || !*qualityText) return std::string();
    return std::string(sizeText) + "/" + qualityText;
}

const RelCamSetting* FindRelCamSetting(uint32_t id) {
    for (const RelCamSetting& setting : kRelCamSettings)
        if (setting.id == id) return &setting;
    return nullptr;
}

uint32_t RelCamCapacity(uint32_t id) {
    const RelCamSetting* setting = FindRelCamSetting(id);
    return setting ? setting->capacity : 0;
}

const char* RelCamLabelAt(uint32_t id, const void* value) {
    const RelCamSetting* setting = FindRelCamSetting(id);
    if (!setting || !value) return "";
    // Little-endian: the first bytes of a wider variable are its low bytes.
    uint32_t code = 0;
    std::memcpy(&code, value, setting->labelWidth);
    return FindLabel(setting->labels(), code);
}

void BuildOwnerNameField(const char* text, uint8_t (&field)[kOwnerNameFieldSize]) {
    std::memset(field, 0, sizeof field);
    if (!text) return;
    size_t length = 0;
    while (length < kOwnerNameFieldSize && text[length]) ++length;
    std::memcpy(field, text, length);
}

std::string OwnerNameFromField(const uint8_t* field) {
    if (!field) return std::string();
    size_t length = 0;
    while (length < kOwnerNameFieldSize && field[length]) ++length;
    return std::string(reinterpret_cast<const char*>(field), length);
}
