#include "settings/stored_settings_plan.h"

#include "settings/setting_keys.h"
#include "settings/stored_number.h"

namespace stored_settings {
namespace {

using namespace setting_keys;

// One read of a key, bounded by the value buffer.
class StoredKeys {
public:
    explicit StoredKeys(const KeyReader& read) : m_read(read) {}

    // The value of `key`, or false when it is absent or empty.
    bool Read(const char* key, std::string* value) {
        char buffer[kValueBufferSize] = {};
        size_t length = m_read ? m_read(key, buffer, sizeof buffer) : 0;
        if (length == 0) return false;
        if (length >= sizeof buffer) length = sizeof buffer - 1;  // a reader that overstates
        buffer[sizeof buffer - 1] = '\0';
        value->assign(buffer, length);
        return true;
    }

    bool Number(const char* key, int32_t* number) {
        std::string value;
        if (!Read(key, &value)) return false;
        *number = ParseStoredNumber(value);
        return true;
    }

private:
    const KeyReader& m_read;
};

void AddNumber(StoredKeys& keys, const char* key, Step step, std::vector<Action>& plan) {
    int32_t number = 0;
    if (keys.Number(key, &number)) plan.push_back({step, number, 0, {}});
}

bool ModeUsesTv(int32_t mode) { return (mode & 0xFFFF) == 2 || (mode & 0xFFFF) == 4; }
bool ModeUsesAv(int32_t mode) { return (mode & 0xFFFF) == 3 || (mode & 0xFFFF) == 4; }

}  // namespace

std::vector<Action> Plan(const KeyReader& read, TvAvRule rule) {
    StoredKeys keys(read);
    std::vector<Action> plan;

    // The format is one pair: applied once, when the quality is read, and only with a size.
    int32_t size = 0, quality = 0;
    const bool haveSize = keys.Number(kSize, &size);
    if (keys.Number(kQuality, &quality) && haveSize) plan.push_back({Step::SizeQuality, size, quality, {}});

    AddNumber(keys, kWhiteBalance, Step::WhiteBalance, plan);
    AddNumber(keys, kExposureCompensation, Step::ExposureCompensation, plan);
    AddNumber(keys, kFlash, Step::Flash, plan);

    int32_t mode = 0;
    const bool haveMode = keys.Number(kShootingMode, &mode);
    if (haveMode) plan.push_back({Step::ShootingMode, mode, 0, {}});
    const bool byMode = rule == TvAvRule::ByStoredMode;
    if (!byMode || (haveMode && ModeUsesTv(mode))) AddNumber(keys, kTv, Step::Tv, plan);
    if (!byMode || (haveMode && ModeUsesAv(mode))) AddNumber(keys, kAv, Step::Av, plan);

    AddNumber(keys, kIsoSpeed, Step::IsoSpeed, plan);
    AddNumber(keys, kMeteringMode, Step::MeteringMode, plan);
    AddNumber(keys, kPhotoEffect, Step::PhotoEffect, plan);
    std::string text;
    if (keys.Read(kOwnerName, &text)) plan.push_back({Step::OwnerName, 0, 0, text});
    AddNumber(keys, kMacro, Step::Macro, plan);
    AddNumber(keys, kFocusingPoint, Step::FocusingPoint, plan);
    AddNumber(keys, kAfLight, Step::AfLight, plan);
    AddNumber(keys, kZoomPos, Step::ZoomPosition, plan);

    // A path that fills the whole buffer may have been cut: saving into a cut path would
    // scatter images into a folder nobody chose, so such a value is left alone.
    if (keys.Read(kSavePath, &text) && text.size() < kValueBufferSize - 1)
        plan.push_back({Step::SavePath, 0, 0, text});
    return plan;
}

}  // namespace stored_settings
