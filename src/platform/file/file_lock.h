// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdio>

namespace lumen {

enum class LockMode { Shared, Exclusive };

// An advisory lock on one byte of an open file, held by that open file (not
// by the process, so two opens in one program exclude each other too) until
// it is unlocked or the file is closed. The bytes locked lie far past any
// content, so locks never stand in the way of reading or writing the file.
class FileLock {
public:
    // Tries until `waitMs` has passed (0: once); false when not granted.
    static bool lock(std::FILE* file, uint64_t lockByte, LockMode mode, uint32_t waitMs);
    static void unlock(std::FILE* file, uint64_t lockByte);
};

}  // namespace lumen
