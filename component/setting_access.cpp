#include "component/setting_access.h"

#include <cctype>

#include "platform/dialog_base.h"
#include "settings/combo_list.h"
#include "settings/setting_data.h"
#include "settings/setting_labels.h"
#include "settings/setting_rows.h"
#include "settings/settings_file.h"

namespace setting_access {
namespace {

using setting_table::Send;
using setting_table::SettingRow;

const SettingRow* Find(const std::string& name) {
    for (const SettingRow* row : setting_table::ScriptRows())
        if (_stricmp(row->scriptName, name.c_str()) == 0) return row;
    return nullptr;
}

std::string Normalized(const std::string& text) {
    std::string out;
    bool blank = false;
    for (unsigned char c : text) {
        if (std::isspace(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += static_cast<char>(std::tolower(c));
    }
    return out;
}

// A drop-down list that no one sees, for one call.
class HiddenList {
public:
    explicit HiddenList(HWND parent)
        : m_hwnd(parent ? CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 100,
                                          200, parent, nullptr, nullptr, nullptr)
                        : nullptr) {}
    HiddenList(const HiddenList&) = delete;
    HiddenList& operator=(const HiddenList&) = delete;
    ~HiddenList() {
        if (m_hwnd) DestroyWindow(m_hwnd);
    }
    HWND get() const { return m_hwnd; }

    std::string Text(int index) const { return ComboItemText(m_hwnd, index); }
    LPARAM Data(int index) const { return SendMessageA(m_hwnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0); }
    int Selection() const { return static_cast<int>(SendMessageA(m_hwnd, CB_GETCURSEL, 0, 0)); }

private:
    HWND m_hwnd;
};

// A settings model bound to the camera, with the camera's list of one setting filled.
class FilledList {
public:
    FilledList(const Camera& camera, const SettingRow& row) : m_list(camera.listParent) {
        m_model.SetSource(camera.source);
        if (m_list.get()) setting_table::FillChoices(row, m_model, m_list.get());
    }
    int Count() const { return m_list.get() ? combo_list::Count(m_list.get()) : 0; }
    const HiddenList& List() const { return m_list; }
    CSettingData& Model() { return m_model; }
    // Nothing listed: the camera's refusal, or simply no choices.
    Result Empty() const {
        return m_model.GetLastError() ? Result{Outcome::CameraFailed, m_model.GetLastError()}
                                      : Result{Outcome::NoChoices, 0};
    }

private:
    CSettingData m_model;
    HiddenList m_list;
};

BOOL Store(const Camera& camera, const char* key, const std::string& value) {
    return settings_file::WriteKey(camera.iniPath, camera.section, key, value.c_str());
}

// Sends the chosen entry's item data as the settings window's OK does; the stored key follows
// only what the camera took.
bool WriteChoice(const Camera& camera, const SettingRow& row, CSettingData& model, LPARAM data) {
    const setting_table::Sent sent = setting_table::SendChoice(row, model, data);
    if (!sent.valid || !sent.accepted) return false;
    setting_table::StoreSent(row, sent,
                             [&camera](const char* key, const std::string& text) { Store(camera, key, text); });
    return true;
}

}  // namespace

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const SettingRow* row : setting_table::ScriptRows()) names.push_back(row->scriptName);
    return names;
}

bool Known(const std::string& name) { return Find(name) != nullptr; }

bool SameLabel(const std::string& a, const std::string& b) { return Normalized(a) == Normalized(b); }

Result Choices(const Camera& camera, const std::string& name, std::vector<std::string>* labels) {
    const SettingRow* setting = Find(name);
    if (!setting) return {Outcome::UnknownSetting, 0};
    labels->clear();
    if (setting->send == Send::Text) return {};
    FilledList filled(camera, *setting);
    for (int i = 0; i < filled.Count(); ++i) labels->push_back(filled.List().Text(i));
    return labels->empty() ? filled.Empty() : Result{};
}

Result Current(const Camera& camera, const std::string& name, std::string* label) {
    const SettingRow* setting = Find(name);
    if (!setting) return {Outcome::UnknownSetting, 0};
    if (setting->send == Send::Text) {
        CSettingData model;
        model.SetSource(camera.source);
        char field[kOwnerNameFieldSize] = {};
        if (!model.GetOwnerName(field)) return {Outcome::CameraFailed, model.GetLastError()};
        *label = OwnerNameFromField(reinterpret_cast<const uint8_t*>(field));
        return {};
    }
    FilledList filled(camera, *setting);
    if (filled.Count() == 0) return filled.Empty();
    const int selected = filled.List().Selection();
    // Listed, but the current value could not be read.
    if (selected == CB_ERR) return {Outcome::CameraFailed, filled.Model().GetLastError()};
    *label = filled.List().Text(selected);
    return {};
}

Result Apply(const Camera& camera, const std::string& name, const std::string& label) {
    const SettingRow* setting = Find(name);
    if (!setting) return {Outcome::UnknownSetting, 0};
    if (setting->send == Send::Text) {
        CSettingData model;
        model.SetSource(camera.source);
        if (!model.SetOwnerName(label.c_str())) return {Outcome::CameraFailed, model.GetLastError()};
        Store(camera, setting->stored.key, label);
        return {};
    }
    FilledList filled(camera, *setting);
    if (filled.Count() == 0) return filled.Empty();
    for (int i = 0; i < filled.Count(); ++i) {
        if (!SameLabel(filled.List().Text(i), label)) continue;
        if (!WriteChoice(camera, *setting, filled.Model(), filled.List().Data(i)))
            return {Outcome::CameraFailed, filled.Model().GetLastError()};
        return {};
    }
    return {Outcome::NoSuchChoice, 0};
}

}  // namespace setting_access
