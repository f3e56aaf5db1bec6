// The simulated CDSDK.dll as a test program sees it: its control exports, the call log, the
// violation ledger, captured message boxes, and the files a camera left in a folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "simulator/sim_api.h"

// The control exports of the CDSDK.dll the process loaded (else the one beside the program).
SimApi& Sim();
std::vector<SimCall> SimCalls(const char* entry = nullptr);  // all logged calls, or those of one entry
// Names of the logged calls joined by blanks; with a thread id, only that thread's calls.
std::string CallLog(DWORD thread = 0);
std::string Violations();  // the ledger's lines
std::string Boxes();       // message boxes shown since the last call, as "caption: text" lines
// A fresh start: the settings files beside the test removed, the simulator reset (to `config`
// over its defaults, when given), boxes forgotten.
void FreshCamera(const char* config = nullptr);

std::vector<std::string> FilesIn(const std::string& folder);  // names only, sorted
std::string EmptyFolder(const std::string& name);  // a folder beside the test, emptied; its path
std::string ReadFileBytes(const std::string& path);
