// SPDX-License-Identifier: GPL-3.0-or-later
#include "cache/recording_cache.h"

#include <filesystem>

#include "cache/source_key.h"
#include "import/home_import.h"
#include "import/import_error.h"
#include "platform/file/folder_path.h"
#include "platform/file/user_folders.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

#ifdef _WIN32
constexpr const char* kCacheName = "Lumen\\Cache";
#else
constexpr const char* kCacheName = "lumen";
#endif

bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(pathFromUtf8(path), error);
}

}  // namespace

RecordingCache::RecordingCache(std::string rootFolder) : root_(std::move(rootFolder)) {}

std::optional<RecordingCache> RecordingCache::forUser() {
    const auto cache = userCacheFolder();
    if (!cache) return std::nullopt;
    return RecordingCache(withFolderSeparator(*cache) + kCacheName);
}

bool RecordingCache::isCompleteHome(const std::string& homeFolder) {
    const std::string home = withFolderSeparator(homeFolder);
    return exists(home + "path.tmp") && exists(home + "huffman.ko2") && exists(home + "recording");
}

RecentRecordings RecordingCache::recent() const { return RecentRecordings(withFolderSeparator(root_) + "recent.txt"); }

CachedHome RecordingCache::open(const std::string& givenPath, std::atomic<double>* progress) const {
    // A WFDB record is also named by its path without the extension.
    const std::string sourcePath = !exists(givenPath) && exists(givenPath + ".hea") ? givenPath + ".hea" : givenPath;
    CachedHome opened;
    opened.sourcePath = sourcePath;
    const std::string homes = withFolderSeparator(root_) + "homes";
    opened.homeFolder = withFolderSeparator(homes) + SourceKey::of(sourcePath).folderName();
    if (isCompleteHome(opened.homeFolder)) return opened;
    std::error_code error;
    std::filesystem::create_directories(pathFromUtf8(homes), error);
    if (error) throw ImportError(homes, "cannot be made (" + error.message() + "); make the cache folder writable");
    HomeImportRequest request;
    request.source = sourcePath;
    request.home = opened.homeFolder;
    request.language = kHomeLanguage;
    request.progress = progress;
    const HomeImportResult result = HomeImport::run(request);
    opened.warnings = result.warnings;
    // Another viewer opening the same file may have made the home meanwhile.
    if (!result.ok && result.homeTaken && isCompleteHome(opened.homeFolder)) return opened;
    if (!result.ok) throw ImportError(result.problem);
    opened.imported = true;
    opened.summary = result.summary;
    return opened;
}

}  // namespace lumen
