// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace lumen {

// The one path every name of a file leads to: symbolic links, "." and ".."
// resolved. `path` itself when it cannot be resolved (the caller then sees
// the missing file on its own).
std::string canonicalPathOf(const std::string& path);

// How many names (hard links) the open file has; 0 when unknown.
uint64_t nameCountOf(std::FILE* file);

// Gives `from` the name `to` only while nothing has that name; false, and
// nothing moved, when something has. Same folder only.
bool renameWithoutReplacing(const std::string& from, const std::string& to);

// Creates `path`, which must not exist yet, for reading and writing.
std::FILE* createNewFile(const std::string& path);

// Why the last file call of this thread failed, in the words a user acts on.
enum class FileFailureCause { Other, Permission, NoRoom, Missing };
FileFailureCause lastFileFailureCause();

}  // namespace lumen
