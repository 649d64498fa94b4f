// A storm of arrow keys through the real window procedure, by turns with what each key does
// without it (the root moved, one frame presented): the difference is the dispatch and what
// the board does for screen readers after each key. Timed twice: as the program runs alone,
// and once a client holds the board's object and a listener in this process hears its events,
// as when a screen reader runs. usage: key_storm_bench [rounds]
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_window.h"
#include "app/board_accessible.h"
#include "app/globals.h"
#include "tests/benchmarks/bench_clock.h"
#include "tests/benchmarks/bench_stats.h"

namespace {

using namespace modalscope;
using namespace modalscope::bench;

constexpr int kKeysPerBatch = 50;

enum Variant { kKeys, kDirect, kVariantCount };
const char* const kNames[kVariantCount] = {"arrow keys, window procedure",
                                           "moveCursor + presentFrame"};

long heard = 0;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    ++heard;
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Milliseconds per key.
double timeBatch(Variant variant) {
    const double start = nowMs();
    for (int i = 0; i < kKeysPerBatch; ++i) {
        if (variant == kDirect) {
            board.moveCursor(MoveDirection::FretRight);
            presentFrame();
        } else {
            SendMessageA(app.window, WM_KEYDOWN, VK_RIGHT, 0);
        }
    }
    return (nowMs() - start) / kKeysPerBatch;
}

void measure(const char* setting, int rounds) {
    std::vector<double> times[kVariantCount];
    heard = 0;
    for (int round = -1; round < rounds; ++round) { // round -1 warms up
        for (int k = 0; k < kVariantCount; ++k) {
            const int v = (round + 1 + k) % kVariantCount; // each variant first in turn
            const double perKey = timeBatch(static_cast<Variant>(v));
            if (round >= 0) {
                times[v].push_back(perKey);
            }
            pump();
        }
    }
    std::printf("%s: %d rounds of %d keys per variant, rotating order; events heard: %ld\n",
                setting, rounds, kKeysPerBatch, heard);
    for (int v = 0; v < kVariantCount; ++v) {
        std::printf("  %-30s %8.1f us/key  (p25 %.1f, p75 %.1f)\n", kNames[v],
                    median(times[v]) * 1e3, quantile(times[v], 0.25) * 1e3,
                    quantile(times[v], 0.75) * 1e3);
    }
    std::printf("  keys / direct                  %8.3fx\n",
                median(pairedRatios(times[kKeys], times[kDirect])));
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 101;
    // A private folder, so the width written at the end lands there.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "modalscope-keys-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    SetCurrentDirectoryA(folder.c_str());
    if (FILE* file = std::fopen(kSettingsFile, "wb")) {
        std::fputs("Width 1015\n", file);
        std::fclose(file);
    }
    app.instance = GetModuleHandleA(nullptr);
    settings.loadOrDefault(kSettingsFile);
    board.resetBoard();
    if (!registerMainClass(app.instance) || !createMainWindow("Modalscope 1.0", 0, app.instance)) {
        std::printf("the main window did not start\n");
        return 1;
    }
    pump();
    std::printf("window focused: %s\n", GetFocus() == app.window ? "yes" : "NO");
    measure("alone", rounds);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* client = nullptr;
    AccessibleObjectFromWindow(app.window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&client));
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, GetModuleHandleA(nullptr),
                        onEvent, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
    measure(client != nullptr && hook != nullptr ? "with a client and a listener"
                                                 : "client or listener MISSING",
            rounds);
    UnhookWinEvent(hook);
    if (client != nullptr) {
        client->Release();
    }
    SendMessageA(app.window, WM_CLOSE, 0, 0);
    pump();
    DestroyWindow(app.window);
    endAccessibility();
    unregisterMainClass(app.instance);
    DeleteFileA(kSettingsFile);
    SetCurrentDirectoryA(temp);
    RemoveDirectoryA(folder.c_str());
    CoUninitialize();
    return 0;
}
