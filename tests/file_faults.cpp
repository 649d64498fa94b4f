#include "tests/file_faults.h"

#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace modalscope::testing {

namespace {

std::string due;
std::string calls;

// Records a call; the fault due next if it is one of `kinds`, which it then takes, else 0.
char faultFor(char call, const std::string& kinds) {
    calls += call;
    if (due.empty() || kinds.find(due[0]) == std::string::npos) {
        return 0;
    }
    const char fault = due[0];
    due.erase(0, 1);
    return fault;
}

void writeOthersFile(const char* name) {
    std::ofstream(name, std::ios::binary) << kOtherWritersFile;
}

} // namespace

void injectFileFaults(const std::string& faults) {
    due = faults;
    calls.clear();
}

std::string fileCalls() {
    return calls;
}

} // namespace modalscope::testing

using modalscope::testing::faultFor;

#if defined(__MINGW32__)

// MinGW calls the system through import pointers, which the linker sends to these.
extern "C" decltype(&WriteFile) __real___imp_WriteFile, __wrap___imp_WriteFile;
extern "C" decltype(&FlushFileBuffers) __real___imp_FlushFileBuffers, __wrap___imp_FlushFileBuffers;
extern "C" decltype(&MoveFileExA) __real___imp_MoveFileExA, __wrap___imp_MoveFileExA;

namespace {

BOOL WINAPI faultyWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                            LPOVERLAPPED overlapped) {
    if (faultFor('w', "w") != 0) {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return __real___imp_WriteFile(file, data, size, written, overlapped);
}

BOOL WINAPI faultyFlushFileBuffers(HANDLE file) {
    faultFor('f', "");
    return __real___imp_FlushFileBuffers(file);
}

BOOL WINAPI faultyMoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    switch (faultFor('r', "bo")) {
    case 'b':
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    case 'o':
        __real___imp_MoveFileExA(from, (std::string(from) + ".moved").c_str(), 0);
        modalscope::testing::writeOthersFile(from);
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return __real___imp_MoveFileExA(from, to, flags);
}

} // namespace

// Declared with C linkage above.
decltype(&WriteFile) __wrap___imp_WriteFile = faultyWriteFile;
decltype(&FlushFileBuffers) __wrap___imp_FlushFileBuffers = faultyFlushFileBuffers;
decltype(&MoveFileExA) __wrap___imp_MoveFileExA = faultyMoveFileExA;

#elif defined(__linux__)

extern "C" {

ssize_t __real_write(int file, const void* data, size_t size);
int __real_fsync(int file);
int __real_rename(const char* from, const char* to);

ssize_t __wrap_write(int file, const void* data, size_t size) {
    if (faultFor('w', "w") != 0) {
        errno = ENOSPC;
        return -1;
    }
    return __real_write(file, data, size);
}

// A folder's flush, which makes a rename durable, is not counted.
int __wrap_fsync(int file) {
    struct stat status;
    if (fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
        faultFor('f', "");
    }
    return __real_fsync(file);
}

int __wrap_rename(const char* from, const char* to) {
    if (faultFor('r', "o") != 0) {
        __real_rename(from, (std::string(from) + ".moved").c_str());
        modalscope::testing::writeOthersFile(from);
        errno = ENOENT;
        return -1;
    }
    return __real_rename(from, to);
}

} // extern "C"

#endif
