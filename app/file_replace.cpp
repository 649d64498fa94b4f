#include "app/file_replace.h"

#include <cstddef>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace modalscope {

namespace {

#ifdef _WIN32

// False, with no file left, when any step fails. A new file left by a crash before its
// rename is overwritten, so it cannot block later saves.
bool writeFlushed(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file);
    const bool closed = CloseHandle(file) != 0;
    if (!ok || !closed) {
        DeleteFileA(path.c_str());
        return false;
    }
    return true;
}

// Write-through: the call returns once the rename itself is on the disk.
bool moveInPlace(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void removeFile(const std::string& path) {
    DeleteFileA(path.c_str());
}

#else

bool writeFlushed(const std::string& path, const std::string& bytes) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file < 0) {
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = write(file, bytes.data() + done, bytes.size() - done);
        ok = n > 0 || (n < 0 && errno == EINTR);
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    ok = ok && fsync(file) == 0;
    const bool closed = close(file) == 0;
    if (!ok || !closed) {
        unlink(path.c_str());
        return false;
    }
    return true;
}

// The rename is durable once the folder that holds it is flushed too; where that fails the
// folder still holds one whole file, old or new.
bool moveInPlace(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    const std::size_t slash = to.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : to.substr(0, slash + 1);
    const int handle = open(folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle >= 0) {
        fsync(handle);
        close(handle);
    }
    return true;
}

void removeFile(const std::string& path) {
    unlink(path.c_str());
}

#endif

} // namespace

bool replaceFile(const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".tmp";
    if (!writeFlushed(fresh, bytes)) {
        return false;
    }
    if (!moveInPlace(fresh, path)) {
        removeFile(fresh);
        return false;
    }
    return true;
}

} // namespace modalscope
