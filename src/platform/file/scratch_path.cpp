// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/scratch_path.h"

#include "platform/file/utf8_path.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace lumen {

namespace {

long currentProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<long>(::getpid());
#endif
}

}  // namespace

std::filesystem::path scratchPathIn(const std::filesystem::path& folder, const std::string& name) {
    return folder / pathFromUtf8("." + name + ".partial-" + std::to_string(currentProcessId()));
}

}  // namespace lumen
