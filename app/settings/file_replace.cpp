#include "app/settings/file_replace.h"

#include <cstddef>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace modalscope {

namespace {

#ifdef _WIN32

// MOVEFILE_WRITE_THROUGH is documented to flush only a move made as a copy and a delete (to
// another volume); for this rename within one folder it adds no promise, and the new name
// reaches the disk in the file system's own time. The file's bytes were flushed before, so
// after a power cut the folder holds the old file or the new one, whole; on FAT32 and exFAT,
// where a replace is the old file's removal and then the rename, possibly the new one alone
// under its temporary name, which WindowSettings::load reads then.
// A virus scanner or the search indexer may hold either file for a moment: a replace refused
// for a sharing violation or access denied is tried again, after 10, 20, 40 and 80 ms.
bool moveInPlace(const std::string& from, const std::string& to) {
    for (DWORD pause = 10;; pause *= 2) {
        if (MoveFileExA(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
            return true;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || pause > 80) {
            return false;
        }
        Sleep(pause);
    }
}

#else

// Whether `path` still names the file `own` describes.
bool stillNamed(const std::string& path, const struct stat& own) {
    struct stat now;
    return stat(path.c_str(), &now) == 0 && now.st_dev == own.st_dev && now.st_ino == own.st_ino;
}

bool writeAll(int file, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(file, bytes.data() + done, bytes.size() - done);
        if (n == 0 || (n < 0 && errno != EINTR)) {
            return false;
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
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

#endif

} // namespace

#ifdef _WIN32

bool replaceFile(const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".tmp";
    // Shared for deletion alone, which the rename needs: while this save holds its new file,
    // another copy's save cannot open it to write and gives up, so no save replaces or
    // removes another's file. A file left by a crash is held by no one and is overwritten.
    const HANDLE file = CreateFileA(fresh.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    // FlushFileBuffers writes all the file's buffered information to the device before it
    // returns, so what the rename puts in the old file's place is already there.
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file) && moveInPlace(fresh, path);
    if (!ok) {
        // Removed through the handle, not by name, which by now may be another file's.
        FILE_DISPOSITION_INFO disposition = {TRUE}; // delete when the last handle closes
        SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition));
    }
    CloseHandle(file);
    return ok;
}

#else

bool replaceFile(const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".tmp";
    // Not cut short on opening: until this save holds the lock, the file may be another
    // copy's pending one (which holds its lock until it is renamed) or, once the lock is
    // taken, one that copy has just renamed into place, which the name no longer names.
    const int file = open(fresh.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0) {
        return false;
    }
    struct stat own;
    if (flock(file, LOCK_EX | LOCK_NB) != 0 || fstat(file, &own) != 0 || !stillNamed(fresh, own)) {
        close(file);
        return false;
    }
    // fsync transfers the file's data and metadata to the device before it returns.
    const bool ok = ftruncate(file, 0) == 0 && writeAll(file, bytes) && fsync(file) == 0 &&
                    moveInPlace(fresh, path);
    // POSIX removes by name only: this save's own file, if the name still names it.
    if (!ok && stillNamed(fresh, own)) {
        unlink(fresh.c_str());
    }
    close(file);
    return ok;
}

#endif

} // namespace modalscope
