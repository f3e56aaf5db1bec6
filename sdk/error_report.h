// Reporting of failed SDK calls and translated message boxes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Called after every failed SDK call, once the caller has stored the status as its last error.
// SDK failure boxes are switched off in this component, so it shows nothing.
BOOL ReportSdkError(uint32_t code, const char* operation);

// A translated information box (section "Error Message" of KamvioML.ini), no owner window.
BOOL ShowMessage(std::string caption, std::string text);
