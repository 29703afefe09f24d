// SPDX-License-Identifier: GPL-3.0-or-later
#include "cache/recent_recordings.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/file/durable_file.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr size_t kMaxListBytes = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

RecentRecordings::RecentRecordings(std::string listPath) : listPath_(std::move(listPath)) {}

std::vector<RecentRecordings::Entry> RecentRecordings::readAll() const {
    std::vector<Entry> entries;
    std::unique_ptr<std::FILE, FileCloser> file(openFile(listPath_, "rb"));
    if (!file) return entries;
    std::string text(kMaxListBytes, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file.get()));
    for (size_t at = 0; at < text.size() && entries.size() < kMaxEntries;) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab + 1 == line.size()) continue;
        entries.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return entries;
}

std::vector<RecentRecordings::Entry> RecentRecordings::load() const {
    std::vector<Entry> present;
    std::error_code error;
    for (Entry& entry : readAll())
        if (std::filesystem::exists(pathFromUtf8(entry.sourcePath), error)) present.push_back(std::move(entry));
    return present;
}

bool RecentRecordings::remember(const Entry& entry) const {
    if (entry.sourcePath.find_first_of("\t\n") != std::string::npos) return false;
    std::string text = entry.sourcePath + "\t" + entry.homeFolder + "\n";
    size_t kept = 1;
    for (const Entry& old : readAll()) {
        if (old.sourcePath == entry.sourcePath || kept == kMaxEntries) continue;
        text += old.sourcePath + "\t" + old.homeFolder + "\n";
        ++kept;
    }
    return replaceWholeFile(listPath_, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace lumen
