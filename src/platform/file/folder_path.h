// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace lumen {

// A folder's path ready for file names to be appended: it ends with a
// separator, the system's own where one is added ('\' on Windows, which
// reads '/' as well).
inline std::string withFolderSeparator(std::string folder) {
#ifdef _WIN32
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
#else
    if (folder.empty() || folder.back() != '/') folder += '/';
#endif
    return folder;
}

}  // namespace lumen
