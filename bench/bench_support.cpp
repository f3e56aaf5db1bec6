#include "bench/bench_support.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "tests/common/bmp_frame.h"
#include "tests/common/resource_counts.h"
#include "tests/common/test_support.h"

namespace bench {

int64_t Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Seconds(int64_t ticks) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(ticks) / frequency;
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    const size_t at = std::min(values.size() - 1, static_cast<size_t>(share * static_cast<double>(values.size())));
    std::nth_element(values.begin(), values.begin() + static_cast<ptrdiff_t>(at), values.end());
    return values[at];
}

std::string Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

Pair Compare(const std::function<void()>& a, const std::function<void()>& b, int runs) {
    std::vector<double> ta, tb;
    auto time = [](const std::function<void()>& op, std::vector<double>* into) {
        const int64_t start = Ticks();
        op();
        if (into) into->push_back(Seconds(Ticks() - start));
    };
    for (int i = 0; i < 3; ++i) time(a, nullptr), time(b, nullptr);
    const int batch = std::max(1, runs / 10);
    for (int done = 0; done < runs; done += batch) {
        for (int i = 0; i < batch; ++i) time(a, &ta);
        for (int i = 0; i < batch; ++i) time(b, &tb);
    }
    return {Percentile(ta, 0.5), Percentile(tb, 0.5)};
}

double Median(const std::function<void()>& op, int runs) {
    return Compare(op, [] {}, runs).a;
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (!done()) {
        if (GetTickCount64() >= end) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);  // a message wakes it at once
    }
    return true;
}

Host::Host() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KamvioBenchHost";
    RegisterClassA(&wc);
    m_hwnd = CreateWindowExA(0, wc.lpszClassName, "Bench host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0,
                             0, 1000, 900, nullptr, nullptr, wc.hInstance, this);
}

KamvioPara Host::Para(uint32_t showControls, const char* folder) const {
    return {0, m_hwnd, kFileSaved, kViewfinderEnable, 1, {}, showControls, 0, folder, kStatus, kPoweredOff, {}};
}

LRESULT CALLBACK Host::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = test_support::WindowObject<Host>(window, message, lParam);
    if (self && message == kFileSaved) {
        self->lastSavedAt = Ticks();
        ++self->filesSaved;
        if (wParam) self->lastPath.assign(reinterpret_cast<const char*>(wParam), strnlen(reinterpret_cast<const char*>(wParam), MAX_PATH));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

Resources MeasureResources() {
    const resource_counts::Counts counts = resource_counts::Measure();
    Resources r{counts.gdi, counts.user, counts.handles, 0, 0};
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
            r.threads += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
        CloseHandle(snapshot);
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    double bytes = 0;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        bytes = static_cast<double>(memory.PrivateUsage);
    // Wine answers 0 here: then the committed private regions are added up.
    MEMORY_BASIC_INFORMATION region;
    const bool walk = bytes == 0;
    for (const char* at = nullptr; walk && VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += static_cast<double>(region.RegionSize);
        if (!region.RegionSize) break;
    }
    r.privateMb = bytes / (1024.0 * 1024.0);
    return r;
}

std::vector<uint8_t> MakeFrame(uint32_t w, uint32_t h) {
    return ::MakeFrame(w, h, [](uint32_t x, uint32_t y) { return RGB(x * 7, y * 13, x + y); });
}

std::string ScratchFolder(const char* name) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder(exe);
    folder = folder.substr(0, folder.find_last_of('\\') + 1) + name;
    RemoveFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found))
        DeleteFileA((folder + "\\" + found.cFileName).c_str());
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    RemoveDirectoryA(folder.c_str());
}

namespace {
std::vector<Row>& Rows() {
    static std::vector<Row> rows;
    return rows;
}
}  // namespace

void AddRow(Row row) {
    printf("  %s: %s (%s)\n", row.measure.c_str(), row.figure.c_str(), row.baseline.c_str());
    fflush(stdout);
    Rows().push_back(std::move(row));
}

void AddSection(const std::string& title) { Rows().push_back({title, "", "", -1, ""}); }

void PrintTable() {
    printf("\n| measure | figure | baseline | ratio | note |\n|---|---:|---:|---:|---|\n");
    for (const Row& r : Rows()) {
        if (r.ratio < 0) {
            printf("| **%s** | | | | |\n", r.measure.c_str());
            continue;
        }
        const std::string ratio = r.ratio > 0 ? Format("%.2f", r.ratio) : "";
        printf("| %s | %s | %s | %s | %s |\n", r.measure.c_str(), r.figure.c_str(), r.baseline.c_str(), ratio.c_str(),
               r.note.c_str());
    }
    fflush(stdout);
}

}  // namespace bench
