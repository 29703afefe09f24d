// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/recording_opening.h"

#include <cstdio>
#include <filesystem>

#include "import/import_error.h"
#include "platform/file/utf8_path.h"
#include "shell/import_progress.h"

namespace lumen {

RecordingOpening::RecordingOpening(WindowSystem& system, bool showProgress)
    : system_(system), showProgress_(showProgress), cache_(RecordingCache::forUser()) {}

std::vector<RecentRecordings::Entry> RecordingOpening::recent() const {
    return cache_ ? cache_->recent().load() : std::vector<RecentRecordings::Entry>{};
}

std::optional<std::string> RecordingOpening::open(const std::string& file) {
    problem_.clear();
    if (!cache_) {
        problem_ = file +
                   ": cannot be opened, because the system names no cache folder for it (set HOME or "
                   "XDG_CACHE_HOME), or import it with `holter import` and open the home with --home";
        return std::nullopt;
    }
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(pathFromUtf8(file), error);
    const std::string source = error ? file : utf8FromPath(path);
    CachedHome home;
    try {
        ImportProgress progress(system_, utf8FromPath(path.filename()), showProgress_);
        progress.run([&](std::atomic<double>& fraction) { home = cache_->open(source, &fraction); });
    } catch (const ImportError& e) {
        problem_ = e.what();
        return std::nullopt;
    }
    for (const std::string& warning : home.warnings) std::fprintf(stderr, "warning: %s\n", warning.c_str());
    if (!home.summary.empty()) std::fprintf(stderr, "lumen: %s\n", home.summary.c_str());
    cache_->recent().remember({home.sourcePath, home.homeFolder});
    return home.homeFolder;
}

}  // namespace lumen
