// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/user_folders.h"

#include <cstdlib>

#include "platform/file/utf8_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace lumen {
namespace {

#ifndef _WIN32
std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}
#endif

}  // namespace

std::optional<std::string> userCacheFolder() {
#ifdef _WIN32
    // A program home's path.tmp cannot hold a blank (C:\Users\Anna Berg\...):
    // the short form of the folder's name has none.
    const wchar_t* value = _wgetenv(L"LOCALAPPDATA");
    if (value == nullptr || *value == L'\0') return std::nullopt;
    std::wstring folder(value);
    if (folder.find(L' ') != std::wstring::npos) {
        std::wstring shortName(MAX_PATH, L'\0');
        const DWORD length = GetShortPathNameW(folder.c_str(), shortName.data(), MAX_PATH);
        if (length > 0 && length < MAX_PATH) folder.assign(shortName.c_str(), length);
    }
    return utf8FromPath(std::filesystem::path(folder));
#else
    // A relative XDG_CACHE_HOME means nothing: desktops ignore it.
    if (const auto cache = variable("XDG_CACHE_HOME"); cache && cache->front() == '/') return cache;
    if (const auto home = variable("HOME")) return *home + "/.cache";
    return std::nullopt;
#endif
}

}  // namespace lumen
