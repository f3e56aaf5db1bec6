// This program's replacements of the error functions (the real ones show nothing a test could
// observe) and of the nothrow array allocation.
#include <cstdlib>
#include <new>

#include "sdk/error_report.h"
#include "tests/settings/settings_fixture.h"

static std::vector<SdkReport> g_reports;
static std::vector<Shown> g_messages;
static int g_failArrayAllocations = 0;

BOOL ReportSdkError(uint32_t code, const char* operation) {
    g_reports.emplace_back(code, operation ? operation : "(null)");
    return TRUE;
}
BOOL ShowMessage(std::string caption, std::string text) { g_messages.emplace_back(caption, text); return TRUE; }

// Matches the library's own nothrow form (which allocates with malloc as well).
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return g_failArrayAllocations > 0 ? (--g_failArrayAllocations, nullptr) : std::malloc(size ? size : 1);
}

std::vector<SdkReport> TakeReports() { return std::exchange(g_reports, {}); }
std::vector<Shown> TakeShownMessages() { return std::exchange(g_messages, {}); }
void FailArrayAllocations(int count) { g_failArrayAllocations = count; }
