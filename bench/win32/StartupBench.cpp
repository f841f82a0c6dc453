// Start-up to the first painted window: the program against a minimal Win32 window.
//
// Each launch is timed from just before CreateProcessW until a visible top-level window of the
// new process and every visible window inside it have no update region left, that is until the
// program has painted all of it for the first time. The process is then ended. The two programs
// take turns, after one launch each that is not counted, and the medians are compared.
//
//   quorvel_startup_bench --program=quorvel.exe --baseline=minimal_window.exe [--runs=N]
#include "platform/win32/UniqueHandle.h"

#include "BenchClock.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quorvel::bench::median;
using quorvel::bench::now;

bool painted(HWND window) {
    return ::GetUpdateRect(window, nullptr, FALSE) == FALSE;
}

BOOL CALLBACK checkChild(HWND child, LPARAM allPainted) {
    if (::IsWindowVisible(child) && !painted(child)) {
        *reinterpret_cast<bool*>(allPainted) = false;
        return FALSE;
    }
    return TRUE;
}

// The window and every visible window inside it have no update region left.
bool wholePainted(HWND window) {
    if (!painted(window)) {
        return false;
    }
    bool allPainted = true;
    ::EnumChildWindows(window, checkChild, reinterpret_cast<LPARAM>(&allPainted));
    return allPainted;
}

struct Search {
    DWORD processId;
    HWND shown; // a visible top-level window of the process, once one is seen
};

BOOL CALLBACK findShown(HWND window, LPARAM searchPointer) {
    auto& search = *reinterpret_cast<Search*>(searchPointer);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && ::IsWindowVisible(window)) {
        search.shown = window;
        return FALSE;
    }
    return TRUE;
}

// Starts the program and returns the seconds until its first window is painted.
double launch(const std::wstring& program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const double start = now();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        throw std::runtime_error("cannot start the program (error " +
                                 std::to_string(::GetLastError()) + ")");
    }
    const quorvel::UniqueFileHandle process(info.hProcess);
    const quorvel::UniqueFileHandle thread(info.hThread);
    // Polled every millisecond. Once the program shows a window, only that window is looked at:
    // going through every window of the system each time would load the Wine server, which the
    // program needs too, the more so the more windows it has.
    Search search{info.dwProcessId, nullptr};
    double seconds = 0;
    for (;;) {
        if (!search.shown || !::IsWindowVisible(search.shown)) {
            search.shown = nullptr;
            ::EnumWindows(findShown, reinterpret_cast<LPARAM>(&search));
        }
        const bool done = search.shown && wholePainted(search.shown);
        seconds = now() - start;
        if (done) {
            break;
        }
        if (::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
            throw std::runtime_error("the program ended before it showed a window");
        }
        if (seconds > 60) {
            ::TerminateProcess(process.get(), 1);
            throw std::runtime_error("no painted window after 60 seconds");
        }
        ::Sleep(1);
    }
    // Only the start is measured: end the process at once rather than close its window, which
    // under Wine without a window manager waits two seconds for the window to be withdrawn.
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 5000);
    // Let the display and the Wine server finish with the ended process before the next start.
    ::Sleep(300);
    return seconds;
}

// The value below which the given share of the values lies (nearest rank).
double quantile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto rank =
        static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[rank];
}

std::wstring fullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    full.resize(length);
    return full;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring program;
    std::wstring baseline;
    int runs = 15;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view arg = argv[i];
        if (arg.starts_with(L"--program=")) {
            program = fullPath(std::wstring(arg.substr(10)));
        } else if (arg.starts_with(L"--baseline=")) {
            baseline = fullPath(std::wstring(arg.substr(11)));
        } else if (arg.starts_with(L"--runs=")) {
            runs = std::max(1, _wtoi(arg.substr(7).data()));
        }
    }
    if (program.empty() || baseline.empty()) {
        std::fprintf(stderr, "usage: quorvel_startup_bench --program=X.exe --baseline=Y.exe "
                             "[--runs=N]\n");
        return 2;
    }
    try {
        launch(program);
        launch(baseline);
        std::vector<double> programTimes;
        std::vector<double> baselineTimes;
        for (int run = 0; run < runs; ++run) {
            programTimes.push_back(launch(program));
            baselineTimes.push_back(launch(baseline));
            std::printf("run %d: program %.1f ms, minimal window %.1f ms\n", run + 1,
                        programTimes.back() * 1000, baselineTimes.back() * 1000);
        }
        // On a shared virtual machine both programs' times fall into a fast and a slow group (the
        // machine's state, not the programs'), so besides the ratio of the medians, which moves
        // with how the runs split between the groups, the figures that split does not move are
        // given: the median of the ratios of the starts made one after the other, the first
        // quartiles and the fastest starts.
        std::vector<double> pairRatios;
        for (int run = 0; run < runs; ++run) {
            pairRatios.push_back(programTimes[run] / baselineTimes[run]);
        }
        const auto show = [](const char* what, double program, double baseline) {
            std::printf("%-16s program %6.1f ms, minimal window %6.1f ms, ratio %.3f\n", what,
                        program * 1000, baseline * 1000, program / baseline);
        };
        std::printf("of %d starts each:\n", runs);
        show("median:", median(programTimes), median(baselineTimes));
        show("first quartile:", quantile(programTimes, 0.25), quantile(baselineTimes, 0.25));
        show("fastest:", quantile(programTimes, 0), quantile(baselineTimes, 0));
        std::printf("median of the ratios of successive starts: %.3f\n", median(pairRatios));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "start-up bench: %s\n", error.what());
        return 1;
    }
}
