// Planted beside a program under a system DLL's name by tests/e2e/planted_dlls.py. It only
// notes that it was loaded, with a file beside itself named after it ("uxtheme.dll.loaded").
// Built without the C runtime, so that loading it loads nothing more.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    char record[MAX_PATH + 8] = {};
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameA(self, record, MAX_PATH) > 0) {
        lstrcatA(record, ".loaded");
        CloseHandle(CreateFileA(record, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return TRUE;
}
