// Loading from System32 alone, with the fall-back for a Windows 7 that lacks the search flags
// (KB2533623), which then refuses them with ERROR_INVALID_PARAMETER.
#include "app/system_dlls.h"

#include <cwchar>
#include <initializer_list>

namespace modalscope {

namespace {

HMODULE loadFromSystem32(const wchar_t* name) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) {
        return module;
    }
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + std::wcslen(name) >= MAX_PATH) {
        return nullptr;
    }
    path[length] = L'\\';
    std::wcscpy(path + length + 1, name);
    // The altered search takes the DLL's own imports from its folder, System32, first.
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Through void(*)(), the one function type GCC lets any other be cast from silently.
template <typename Call> bool resolve(HMODULE module, const char* name, Call& call) {
    call = module != nullptr
               ? reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
               : nullptr;
    return call != nullptr;
}

} // namespace

void restrictDllSearch() {
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    SetDefaultDirectories setDefault = nullptr;
    if (!resolve(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories", setDefault) ||
        !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        SetDllDirectoryW(L""); // at least not the current folder
    }
}

bool AccessibilityDlls::load() {
    if (state_ != State::NotTried) {
        return state_ == State::Loaded;
    }
    ole32_ = loadFromSystem32(L"ole32.dll");
    oleaut32_ = loadFromSystem32(L"oleaut32.dll");
    oleacc_ = loadFromSystem32(L"oleacc.dll");
    const bool all = resolve(ole32_, "CoInitializeEx", coInitializeEx) &
                     resolve(ole32_, "CoUninitialize", coUninitialize) &
                     resolve(ole32_, "CoDisconnectObject", coDisconnectObject) &
                     resolve(oleaut32_, "SysAllocString", sysAllocString) &
                     resolve(oleacc_, "LresultFromObject", lresultFromObject) &
                     resolve(oleacc_, "AccessibleObjectFromWindow", accessibleObjectFromWindow);
    if (!all) {
        unload();
        state_ = State::Failed;
        return false;
    }
    state_ = State::Loaded;
    return true;
}

void AccessibilityDlls::unload() {
    for (HMODULE* module : {&oleacc_, &oleaut32_, &ole32_}) {
        if (*module != nullptr) {
            FreeLibrary(*module);
            *module = nullptr;
        }
    }
    coInitializeEx = nullptr;
    coUninitialize = nullptr;
    coDisconnectObject = nullptr;
    sysAllocString = nullptr;
    lresultFromObject = nullptr;
    accessibleObjectFromWindow = nullptr;
    state_ = State::NotTried;
}

} // namespace modalscope
