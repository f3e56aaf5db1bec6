// The settings table as the Windows side reads it: for each setting, how the settings window
// lists it, when its OK applies it, how a value reaches the camera and what scripts call it.
// The rows themselves are in setting_table.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "settings/setting_table.h"
#include "settings/stored_number.h"

class CSettingData;

namespace setting_table {

// How a chosen code or a stored number reaches the camera.
enum class Send {
    Code,          // the low 16 bits, to a setter taking the code
    ReleaseCamera,  // a release-camera setting: the masked value, by address
    Macro,         // 0 or 1; "on" switches to the macro shooting mode
    ImageFormat,   // the size/quality pair
    Text,          // the owner name
    ZoomPosition,  // the camera window moves the zoom and its slider
    SaveFolder,    // the camera window's save folder
};

// When the settings window fills the setting's list.
enum class Refresh {
    NotFilled,
    BeforeMode,  // before the mode buttons are handled, at `refreshOrder`
    AfterMode,   // after them, at `refreshOrder`
    ByMode,      // by the mode handler, when the checked button uses the list
};

// When the settings window's OK applies and stores the setting.
enum class AtOk {
    NotApplied,   // written elsewhere (mode buttons, zoom slider, Browse)
    WhenChanged,  // when its list's selection changed since the last show or OK
    EveryOk,      // whenever its list has a selection
    OwnRule,      // Tv/Av follow the enabled lists, the owner name the edit's text
};

using CodeSetter = BOOL (CSettingData::*)(uint16_t);
using ListFiller = BOOL (CSettingData::*)(HWND);

struct SettingRow {
    Setting id{};
    StoredKey stored{nullptr};
    Send send = Send::Code;
    uint32_t mask = 0xFFFF;  // the bits of a number the camera gets and the key stores
    CodeSetter setCode = nullptr;
    uint32_t releaseCameraId = 0;  // cdRELCAM_*: listed and set by id, labelled by its RelCamSetting
    ListFiller fill = nullptr;     // lists the camera's choices and selects the current one
    int control = 0;               // in the settings window; 0: none
    bool controlIsEdit = false;    // an edit (change = EN_CHANGE) rather than a list
    Refresh refresh = Refresh::NotFilled;
    int refreshOrder = 0;
    AtOk atOk = AtOk::NotApplied;
    const char* scriptName = nullptr;       // Kamvio.Camera's name; null: not offered to scripts
    int scriptOrder = 0;                    // its place in SettingNames

    constexpr SettingRow Sends(Send kind) const { return With(&SettingRow::send, kind); }
    constexpr SettingRow Code(CodeSetter setter) const {
        return With(&SettingRow::setCode, setter).Sends(Send::Code);
    }
    constexpr SettingRow ReleaseCamera(uint32_t id, uint32_t storedMask) const {
        return With(&SettingRow::releaseCameraId, id).With(&SettingRow::mask, storedMask).Sends(Send::ReleaseCamera);
    }
    constexpr SettingRow Macro() const { return With(&SettingRow::mask, uint32_t{0xFF}).Sends(Send::Macro); }
    constexpr SettingRow Choices(ListFiller filler) const { return With(&SettingRow::fill, filler); }
    constexpr SettingRow List(int id) const { return With(&SettingRow::control, id); }
    constexpr SettingRow Edit(int id) const {
        return With(&SettingRow::control, id).With(&SettingRow::controlIsEdit, true);
    }
    constexpr SettingRow FilledBeforeMode(int order) const { return Filled(Refresh::BeforeMode, order); }
    constexpr SettingRow FilledAfterMode(int order) const { return Filled(Refresh::AfterMode, order); }
    constexpr SettingRow FilledByMode() const { return Filled(Refresh::ByMode, 0); }
    constexpr SettingRow AppliedWhenChanged() const { return With(&SettingRow::atOk, AtOk::WhenChanged); }
    constexpr SettingRow AppliedAtEveryOk() const { return With(&SettingRow::atOk, AtOk::EveryOk); }
    constexpr SettingRow AppliedByOwnRule() const { return With(&SettingRow::atOk, AtOk::OwnRule); }
    constexpr SettingRow ForScripts(const char* name, int order) const {
        return With(&SettingRow::scriptName, name).With(&SettingRow::scriptOrder, order);
    }

private:
    template <typename T>
    constexpr SettingRow With(T SettingRow::*field, T value) const {
        SettingRow copy = *this;
        copy.*field = value;
        return copy;
    }
    constexpr SettingRow Filled(Refresh when, int order) const {
        return With(&SettingRow::refresh, when).With(&SettingRow::refreshOrder, order);
    }
};

const SettingRow& Row(Setting setting);
// Every row, in the file's order.
const SettingRow (&AllRows())[kSettingCount];

// Fills `combo` with the camera's choices and selects the current one.
BOOL FillChoices(const SettingRow& row, CSettingData& model, HWND combo);

// The rows filled in one phase of the settings window's refresh, in its order.
std::vector<const SettingRow*> FilledIn(Refresh phase);
// The rows offered to scripts, in SettingNames' order.
std::vector<const SettingRow*> ScriptRows();

// What a chosen list entry (its item data) or a stored number did on the camera.
struct Sent {
    bool valid = false;  // false: not a value of this setting (nothing sent)
    BOOL accepted = FALSE;
    int32_t stored = 0;  // what the key stores
    int32_t pairedStored = 0;  // the paired key's value (image format: the quality)
};

// Sends a list entry's item data as the settings window's OK does. For the image format the item
// data must point into the model's own format list.
Sent SendChoice(const SettingRow& row, CSettingData& model, LPARAM itemData);
// Sends a number read from SetData.ini (for the image format: the size, with `second` the quality).
Sent SendStored(const SettingRow& row, CSettingData& model, int32_t number, int32_t second);

// Writes what was sent under the row's key (and its paired key), through `write(key, text)`.
template <typename Write>
void StoreSent(const SettingRow& row, const Sent& sent, Write write) {
    if (!sent.valid) return;
    write(row.stored.key, StoredNumberText(sent.stored));
    if (row.stored.pairedKey) write(row.stored.pairedKey, StoredNumberText(sent.pairedStored));
}

}  // namespace setting_table
