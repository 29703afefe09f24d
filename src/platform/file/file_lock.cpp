// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/file_lock.h"

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lumen {
namespace {

constexpr uint32_t kRetryIntervalMs = 10;

#ifdef _WIN32

HANDLE handleOf(std::FILE* file) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))); }

OVERLAPPED placeOf(uint64_t lockByte) {
    OVERLAPPED place{};
    place.Offset = static_cast<DWORD>(lockByte);
    place.OffsetHigh = static_cast<DWORD>(lockByte >> 32);
    return place;
}

bool lockByteOf(HANDLE handle, uint64_t lockByte, LockMode mode) {
    OVERLAPPED place = placeOf(lockByte);
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (mode == LockMode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return LockFileEx(handle, flags, 0, 1, 0, &place) != 0;
}

bool unlockByteOf(HANDLE handle, uint64_t lockByte) {
    OVERLAPPED place = placeOf(lockByte);
    return UnlockFileEx(handle, 0, 1, 0, &place) != 0;
}

// A POSIX lock changes its mode in place; Windows stacks a second lock of
// the same handle on the first, or refuses it. So the lock held is let go
// first, and a shared one taken back when the new mode cannot be had (a
// reader that could not become the writer stays a reader).
bool tryOnce(std::FILE* file, uint64_t lockByte, LockMode mode) {
    const HANDLE handle = handleOf(file);
    const bool held = unlockByteOf(handle, lockByte);
    if (lockByteOf(handle, lockByte, mode)) return true;
    if (held) lockByteOf(handle, lockByte, LockMode::Shared);
    return false;
}

void release(std::FILE* file, uint64_t lockByte) { unlockByteOf(handleOf(file), lockByte); }

#else

bool setLock(std::FILE* file, uint64_t lockByte, short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = static_cast<off_t>(lockByte);
    range.l_len = 1;
    return ::fcntl(fileno(file), F_OFD_SETLK, &range) == 0;
}

bool tryOnce(std::FILE* file, uint64_t lockByte, LockMode mode) {
    return setLock(file, lockByte, mode == LockMode::Exclusive ? F_WRLCK : F_RDLCK);
}

void release(std::FILE* file, uint64_t lockByte) { setLock(file, lockByte, F_UNLCK); }

#endif

}  // namespace

bool FileLock::lock(std::FILE* file, uint64_t lockByte, LockMode mode, uint32_t waitMs) {
    if (file == nullptr) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (tryOnce(file, lockByte, mode)) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kRetryIntervalMs));
    }
}

void FileLock::unlock(std::FILE* file, uint64_t lockByte) {
    if (file != nullptr) release(file, lockByte);
}

}  // namespace lumen
