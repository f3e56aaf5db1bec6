#include "settings/stored_settings_plan.h"

#include "settings/setting_keys.h"
#include "settings/stored_number.h"

namespace stored_settings {
namespace {

using setting_keys::kValueBufferSize;
using setting_table::StoredAs;
using setting_table::StoredKey;

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

    // The whole setting: a text, a number, or both numbers of a pair (read one after the other,
    // and only a pair with its first number counts).
    bool Setting(const StoredKey& stored, Action* action) {
        switch (stored.as) {
        case StoredAs::Text: return Read(stored.key, &action->text);
        // A path that fills the whole buffer may have been cut: saving into a cut path would
        // scatter images into a folder nobody chose, so such a value is left alone.
        case StoredAs::Path: return Read(stored.key, &action->text) && action->text.size() < kValueBufferSize - 1;
        case StoredAs::Number: break;
        }
        const bool first = Number(stored.key, &action->number);
        if (!stored.pairedKey) return first;
        return Number(stored.pairedKey, &action->second) && first;
    }

private:
    const KeyReader& m_read;
};

bool ModeUses(Step step, int32_t mode) {
    const int32_t low = mode & 0xFFFF;
    return low == 4 || low == (step == Step::Tv ? 2 : 3);
}

}  // namespace

std::vector<Action> Plan(const KeyReader& read, TvAvRule rule) {
    StoredKeys keys(read);
    std::vector<Action> plan;
    bool haveMode = false;
    int32_t mode = 0;
    for (size_t i = 0; i < setting_table::kSettingCount; ++i) {
        Action action;
        action.step = static_cast<Step>(i);
        // After connect, Tv and Av are not even read unless the stored mode uses them.
        const bool tvOrAv = action.step == Step::Tv || action.step == Step::Av;
        if (tvOrAv && rule == TvAvRule::ByStoredMode && !(haveMode && ModeUses(action.step, mode))) continue;
        if (!keys.Setting(setting_table::kStoredKeys[i], &action)) continue;
        if (action.step == Step::ShootingMode) {
            haveMode = true;
            mode = action.number;
        }
        plan.push_back(std::move(action));
    }
    return plan;
}

}  // namespace stored_settings
