// Planted beside a program under a system DLL's name by tests/e2e/planted_dlls.py. It only
// notes which program loaded it, in a file beside itself named after it ("uxtheme.dll.loaded").
// Built without the C runtime, so that loading it loads nothing more.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    char record[MAX_PATH + 8] = {};
    char program[MAX_PATH] = {};
    GetModuleFileNameA(self, record, MAX_PATH);
    lstrcatA(record, ".loaded");
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH - 1);
    program[length] = '\n';
    const HANDLE file = CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, program, length + 1, &written, nullptr);
        CloseHandle(file);
    }
    return TRUE;
}
