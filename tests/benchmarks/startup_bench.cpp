// Start-up to the first presented frame: starts the real program and a minimal window
// program by turns from a private working folder and times each from CreateProcess until
// WaitForInputIdle returns, which a GUI process's first idle wait after its first paint
// signals. Each start is checked at that moment (window there, visible, nothing left to
// paint), and a second, polled signal times the same event independently.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/benchmarks/bench_clock.h"
#include "tests/benchmarks/bench_stats.h"

namespace {

using namespace modalscope::bench;

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr int kOuterWidth = 1015;
constexpr int kOuterHeight = 338;

struct Program {
    const char* name;
    std::string path;
    const char* windowClass;
    bool savesSettings; // writes the settings file back when it closes
};

enum class Signal { InputIdle, Polled };

struct Launch {
    double startMs = 0;  // CreateProcess to the signal
    double closeMs = 0;  // WM_CLOSE posted to process exit
    bool shown = false;  // at the signal: window found, visible, painted, right size
    bool exited = false; // closed by its window and gave exit code 0
    bool saved = false;  // rewrote the settings file on the way out, if it should
    std::string problem;
};

struct WindowSearch {
    const char* windowClass;
    HWND found;
};

BOOL CALLBACK matchClass(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    if (std::string(name) == search->windowClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findWindow(DWORD threadId, const char* windowClass) {
    WindowSearch search = {windowClass, nullptr};
    EnumThreadWindows(threadId, matchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Shown and painted: visible, and its first paint has validated the whole window.
bool painted(HWND window) {
    return window != nullptr && IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE);
}

std::string describe(HWND window) {
    if (window == nullptr) {
        return "no window";
    }
    RECT outer;
    GetWindowRect(window, &outer);
    std::ostringstream text;
    text << "visible " << (IsWindowVisible(window) ? 1 : 0) << ", update region "
         << (GetUpdateRect(window, nullptr, FALSE) ? "pending" : "empty") << ", outer "
         << outer.right - outer.left << "x" << outer.bottom - outer.top;
    return text.str();
}

std::string settingsPath(const std::string& folder) {
    return folder + "\\default.txt";
}

FILETIME lastWrite(const std::string& folder) {
    FILETIME written = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(settingsPath(folder).c_str(), GetFileExInfoStandard, &data)) {
        written = data.ftLastWriteTime;
    }
    return written;
}

std::string settingsText(const std::string& folder) {
    std::ifstream in(settingsPath(folder), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool rightSize(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    return outer.right - outer.left == kOuterWidth && outer.bottom - outer.top == kOuterHeight;
}

// Writes the settings file; returns its last-write time.
FILETIME writeSettings(const std::string& folder) {
    std::ofstream(settingsPath(folder), std::ios::binary | std::ios::trunc) << "Width 1015\n";
    return lastWrite(folder);
}

Launch launch(const Program& program, const std::string& folder, Signal signal) {
    Launch result;
    const FILETIME written = writeSettings(folder);
    std::string commandLine = "\"" + program.path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};

    const double start = nowMs();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        result.problem = "CreateProcess failed";
        return result;
    }
    HWND window = nullptr;
    if (signal == Signal::InputIdle) {
        const DWORD waited = WaitForInputIdle(process.hProcess, kStartTimeoutMs);
        result.startMs = nowMs() - start;
        window = findWindow(process.dwThreadId, program.windowClass);
        if (waited != 0) {
            result.problem = "WaitForInputIdle returned " + std::to_string(waited);
        }
    } else {
        // Independent of the idle event: look until the window is visible and painted.
        while (nowMs() - start < kStartTimeoutMs) {
            window = findWindow(process.dwThreadId, program.windowClass);
            if (painted(window)) {
                break;
            }
            Sleep(1);
        }
        result.startMs = nowMs() - start;
    }
    result.shown = result.problem.empty() && painted(window) && rightSize(window);
    if (!result.shown && result.problem.empty()) {
        result.problem = "at the signal: " + describe(window);
    }

    const double closing = nowMs();
    if (window != nullptr) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    DWORD exitCode = 1;
    if (WaitForSingleObject(process.hProcess, kExitTimeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
        result.exited = exitCode == 0;
    } else {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kExitTimeoutMs);
    }
    result.closeMs = nowMs() - closing;
    const FILETIME after = lastWrite(folder);
    const bool rewritten = CompareFileTime(&after, &written) != 0;
    // Written in text mode, so the line may end in CR LF.
    result.saved =
        !program.savesSettings || (rewritten && settingsText(folder).rfind("Width 1015", 0) == 0);
    if (!result.exited) {
        result.problem += result.problem.empty() ? "no clean exit" : "; no clean exit";
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

struct Series {
    std::vector<double> startMs;
    std::vector<double> closeMs;
    int shown = 0;
    int exited = 0;
    int saved = 0;
    int runs = 0;
};

void record(Series& series, const Program& program, const Launch& result) {
    ++series.runs;
    series.startMs.push_back(result.startMs);
    series.closeMs.push_back(result.closeMs);
    series.shown += result.shown ? 1 : 0;
    series.exited += result.exited ? 1 : 0;
    series.saved += result.saved ? 1 : 0;
    if (!result.problem.empty()) {
        std::printf("  %s, run %d: %s\n", program.name, series.runs, result.problem.c_str());
    }
}

// Alternates the two programs, each first in every other round; returns whether every
// start was verified at its signal and every program closed cleanly.
bool measure(const Program (&programs)[2], const std::string& folder, Signal signal, int rounds) {
    Series series[2];
    for (int p = 0; p < 2; ++p) {
        launch(programs[p], folder, signal); // warm the file cache and the wineserver
    }
    for (int round = 0; round < rounds; ++round) {
        for (int k = 0; k < 2; ++k) {
            const int p = (round + k) % 2;
            record(series[p], programs[p], launch(programs[p], folder, signal));
        }
    }

    std::printf("%s: %d rounds, alternating which program starts first\n",
                signal == Signal::InputIdle ? "CreateProcess to WaitForInputIdle"
                                            : "CreateProcess to window polled visible and painted",
                rounds);
    bool ok = true;
    for (int p = 0; p < 2; ++p) {
        const Series& s = series[p];
        std::printf("  %-18s %8.1f ms  (p25 %.1f, p75 %.1f)\n", programs[p].name, median(s.startMs),
                    quantile(s.startMs, 0.25), quantile(s.startMs, 0.75));
        std::printf("  %-18s checks: shown and painted at the signal %d/%d, exit code 0 %d/%d", "",
                    s.shown, s.runs, s.exited, s.runs);
        if (programs[p].savesSettings) {
            std::printf(", settings saved %d/%d", s.saved, s.runs);
        }
        std::printf("; close to exit %.1f ms\n", median(s.closeMs));
        ok = ok && s.shown == s.runs && s.exited == s.runs && s.saved == s.runs;
    }
    const double paired = median(pairedRatios(series[0].startMs, series[1].startMs));
    std::printf("  real / minimal     %8.3fx  (ratio of medians %.3fx; goal <= 1.25x: %s)\n",
                paired, median(series[0].startMs) / median(series[1].startMs),
                paired <= 1.25 ? "met" : "MISSED");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: startup_bench REAL.exe MINIMAL.exe [idle-rounds [poll-rounds]]\n");
        return 2;
    }
    const Program programs[2] = {{"modalscope.exe", argv[1], "Modalscope", true},
                                 {"minimal_window.exe", argv[2], "ModalscopeMinimal", false}};
    const int idleRounds = argc > 3 ? std::atoi(argv[3]) : 60;
    const int pollRounds = argc > 4 ? std::atoi(argv[4]) : 20;

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "modalscope-startup-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    bool ok = measure(programs, folder, Signal::InputIdle, idleRounds);
    ok = measure(programs, folder, Signal::Polled, pollRounds) && ok;

    DeleteFileA(settingsPath(folder).c_str());
    RemoveDirectoryA(folder.c_str());
    return ok ? 0 : 1;
}
