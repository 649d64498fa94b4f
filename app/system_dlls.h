// The system's libraries the program loads itself, from System32 only: a DLL of the same
// name beside the exe (a Downloads folder holds anything) must never run inside it.
#pragma once

#include <windows.h>

#include <oleacc.h>

namespace modalscope {

// First thing at start: whatever the platform's own libraries load later on the program's
// behalf comes from System32 too, not from the exe's or the current folder.
void restrictDllSearch();

// Active Accessibility and the COM it is served through, loaded on a screen reader's first
// request rather than at start, and only the calls the board's object makes.
class AccessibilityDlls {
  public:
    AccessibilityDlls() = default;
    AccessibilityDlls(const AccessibilityDlls&) = delete;
    AccessibilityDlls& operator=(const AccessibilityDlls&) = delete;
    ~AccessibilityDlls() { unload(); }

    // Loads all three once; false, now and on every later call, if any is missing or lacks
    // a call.
    bool load();
    bool loaded() const { return state_ == State::Loaded; }
    // Frees them; after COM has been left. A later load() may load them again.
    void unload();

    decltype(&CoInitializeEx) coInitializeEx = nullptr;
    decltype(&CoUninitialize) coUninitialize = nullptr;
    decltype(&CoDisconnectObject) coDisconnectObject = nullptr;
    decltype(&SysAllocString) sysAllocString = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&AccessibleObjectFromWindow) accessibleObjectFromWindow = nullptr;

  private:
    enum class State { NotTried, Loaded, Failed };
    State state_ = State::NotTried;
    HMODULE ole32_ = nullptr;
    HMODULE oleaut32_ = nullptr;
    HMODULE oleacc_ = nullptr;
};

} // namespace modalscope
