// Conversions between automation values and the camera code's plain types. Script engines hand
// over variables by reference (VT_BYREF), numbers in whatever type they hold, and JScript arrays
// as objects; all of them are taken here.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>
#include <vector>

// An optional argument left out (VT_ERROR DISP_E_PARAMNOTFOUND), or empty or null.
bool IsMissing(const VARIANT& value);
// A number of any numeric type (or a text that reads as one), as a 32-bit integer.
bool VariantToLong(const VARIANT& value, long* number);
// A text (VT_BSTR), in the local code page. Numbers are not texts here.
bool VariantToText(const VARIANT& value, std::string* text);
// A list of numbers: a one-dimensional SAFEARRAY of any numeric type or of variants, or a
// JScript array. Empty lists are lists.
bool VariantToNumbers(const VARIANT& value, std::vector<uint32_t>* numbers);

// A SAFEARRAY of VARIANT(BSTR), bounds from 0, as every scripting language reads it.
HRESULT TextsToVariant(const std::vector<std::string>& texts, VARIANT* out);
// The text as a BSTR (null when out of memory); the caller owns it.
BSTR TextToBstr(const std::string& text);
// The BSTR in the local code page (a null BSTR is "").
std::string BstrToText(BSTR text);
