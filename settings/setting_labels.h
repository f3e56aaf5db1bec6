// Labels of the camera SDK's setting codes, as shown in the settings lists, and the other
// Windows-free pieces of the settings model. Each setting has one table of rows; a code
// without a row has the empty label and is never offered to the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct LabelRow {
    uint32_t code;
    const char* text;
};

struct LabelTable {
    const LabelRow* rows;
    size_t count;
};

// The row's text, or "" when the table has no row for the code. Never null.
const char* FindLabel(const LabelTable& table, uint32_t code);

const LabelTable& ImageSizeLabels();
const LabelTable& QualityLabels();
const LabelTable& WhiteBalanceLabels();
const LabelTable& ExposureCompLabels();
const LabelTable& FlashLabels();
const LabelTable& ApertureLabels();
const LabelTable& ShutterSpeedLabels();
const LabelTable& MeteringLabels();
const LabelTable& AFPointLabels();
const LabelTable& PhotoEffectLabels();
const LabelTable& AFLightLabels();
const LabelTable& ISOLabels();
// The two fixed entries of the macro list: item data 0 "Off", 1 "On".
const LabelTable& MacroLabels();
// The settings window's mode buttons: shooting modes 1 to 4.
const LabelTable& ShootingModeLabels();

// "Large/Fine" for {0, 3}; empty when either code has no label (the pair is not listed).
std::string SizeQualityLabel(uint32_t size, uint32_t quality);

// A release-camera setting: id, bytes of one value as written, list capacity, and the width
// (in bytes) of the value its labels are looked up on.
struct RelCamSetting {
    uint32_t id;
    uint32_t writeSize;
    uint32_t capacity;
    uint32_t labelWidth;
    const LabelTable& (*labels)();
};

// Null for an id that is not one of the five known settings.
const RelCamSetting* FindRelCamSetting(uint32_t id);
// 0 for an unknown id.
uint32_t RelCamCapacity(uint32_t id);
// The label of a value held at `value` (a 32-bit list entry or a narrower variable): only the
// setting's label width is read, so the low byte of a metering entry decides its label.
// "" for an unknown id or a null pointer.
const char* RelCamLabelAt(uint32_t id, const void* value);

// The camera's owner-name property is a fixed 32-byte field. A longer text is cut to its first
// 32 bytes, a shorter one padded with zeros; a text of 32 bytes or more fills the field with
// no terminator, so readers must stop at 32 bytes.
constexpr size_t kOwnerNameFieldSize = 32;
void BuildOwnerNameField(const char* text, uint8_t (&field)[kOwnerNameFieldSize]);
std::string OwnerNameFromField(const uint8_t* field);
