// This program's replacements of the error functions (the real ones show nothing a test could
// observe) and of the nothrow array allocation.
#include <cstdlib>
#include <new>

#include "sdk/error_report.h"
#include "tests/settings/settings_fixture.h"

namespace {
std::vector<SdkReport> g_reports;
std::vector<Shown> g_messages;
int g_failArrayAllocations = 0;
}  // namespace

BOOL ReportSdkError(uint32_t code, const char* operation) {
    g_reports.emplace_back(code, operation ? operation : "(null)");
    return TRUE;
}

BOOL ShowMessage(std::string caption, std::string text) {
    g_messages.emplace_back(std::move(caption), std::move(text));
    return TRUE;
}

// Matches the library's own nothrow form (which allocates with malloc as well).
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (g_failArrayAllocations > 0) {
        --g_failArrayAllocations;
        return nullptr;
    }
    return std::malloc(size ? size : 1);
}

std::vector<SdkReport> TakeReports() { return std::exchange(g_reports, {}); }
std::vector<Shown> TakeShownMessages() { return std::exchange(g_messages, {}); }
void FailArrayAllocations(int count) { g_failArrayAllocations = count; }
