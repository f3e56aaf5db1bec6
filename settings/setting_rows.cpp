#include "settings/setting_rows.h"

#include <algorithm>

#include "resources/settings_dialog_ids.h"
#include "settings/setting_data.h"

namespace setting_table {
namespace {

using D = CSettingData;

constexpr SettingRow Row(Setting id, StoredKey stored) {
    SettingRow row;
    row.id = id;
    row.stored = stored;
    return row;
}

constexpr SettingRow kRows[] = {
#define KAMVIO_SETTING_ROW(id, key, uses) Row(Setting::id, key) uses,
    KAMVIO_SETTING_ROWS(KAMVIO_SETTING_ROW)
#undef KAMVIO_SETTING_ROW
};

constexpr bool RowsFollowTheirIds() {
    for (size_t i = 0; i < kSettingCount; ++i)
        if (static_cast<size_t>(kRows[i].id) != i) return false;
    return true;
}
static_assert(RowsFollowTheirIds(), "Row(setting) indexes the table");

// The rows `wanted` picks, by the place `order` gives them.
template <typename Wanted>
std::vector<const SettingRow*> RowsBy(int SettingRow::*order, Wanted wanted) {
    std::vector<const SettingRow*> rows;
    for (const SettingRow& row : kRows)
        if (wanted(row)) rows.push_back(&row);
    std::stable_sort(rows.begin(), rows.end(),
                     [order](const SettingRow* a, const SettingRow* b) { return a->*order < b->*order; });
    return rows;
}

Sent SendNumber(const SettingRow& row, CSettingData& model, uint32_t value) {
    Sent sent;
    const uint32_t masked = value & row.mask;
    sent.stored = static_cast<int32_t>(masked);
    sent.valid = true;
    switch (row.send) {
    case Send::Code: sent.accepted = (model.*row.setCode)(static_cast<uint16_t>(masked)); break;
    case Send::ReleaseCamera: sent.accepted = model.SetRelCamSettingOf(row.releaseCameraId, &masked); break;
    case Send::Macro:
        // Always 1: a refused macro mode shows only in the model's last error.
        model.SetMacro(static_cast<uint8_t>(masked));
        sent.accepted = model.GetLastError() == 0;
        break;
    default: sent.valid = false; break;
    }
    return sent;
}

Sent SendImageFormat(CSettingData& model, const ImageFormatPair& pair) {
    Sent sent;
    sent.valid = true;
    sent.accepted = model.SetSizeQualitySetting(&pair);
    sent.stored = pair.size;
    sent.pairedStored = pair.quality;
    return sent;
}

}  // namespace

const SettingRow& Row(Setting setting) { return kRows[static_cast<size_t>(setting)]; }
const SettingRow (&AllRows())[kSettingCount] { return kRows; }

BOOL FillChoices(const SettingRow& row, CSettingData& model, HWND combo) {
    if (row.releaseCameraId) return model.InitRelCamSettingDataCombo(row.releaseCameraId, combo);
    return row.fill ? (model.*row.fill)(combo) : FALSE;
}

std::vector<const SettingRow*> FilledIn(Refresh phase) {
    return RowsBy(&SettingRow::refreshOrder, [phase](const SettingRow& row) { return row.refresh == phase; });
}

std::vector<const SettingRow*> ScriptRows() {
    return RowsBy(&SettingRow::scriptOrder, [](const SettingRow& row) { return row.scriptName != nullptr; });
}

Sent SendChoice(const SettingRow& row, CSettingData& model, LPARAM itemData) {
    if (row.send != Send::ImageFormat) return SendNumber(row, model, static_cast<uint32_t>(itemData));
    const ImageFormatPair* pair = model.FormatOfItem(static_cast<uintptr_t>(itemData));
    return pair ? SendImageFormat(model, *pair) : Sent{};
}

Sent SendStored(const SettingRow& row, CSettingData& model, int32_t number, int32_t second) {
    if (row.send != Send::ImageFormat) return SendNumber(row, model, static_cast<uint32_t>(number));
    return SendImageFormat(model, ImageFormatPair{static_cast<uint16_t>(number & 0xFFFF),
                                                  static_cast<uint16_t>(second & 0xFFFF)});
}

}  // namespace setting_table
