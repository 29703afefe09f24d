// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/export_target.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include "store/journal_format.h"
#include "store/recording_file.h"
#include "store/section_id.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRecordingName = "holter.mem";
constexpr const char* kJournalSuffix = "-journal";

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); });
    return text;
}

uint32_t u24(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16); }

// The head of holter.mem: a section count, then 16-byte entries whose
// sections all lie inside the file, a block index among them.
bool holdsARecording(const fs::path& path, uint64_t sizeBytes) {
    if (sizeBytes > kMaxRecordingBytes) return false;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> head(1 + size_t{kDirectoryEntryBytes} * kMaxSections, 0);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    const uint8_t count = head[0];
    if (count == 0 || count > kMaxSections) return false;
    bool blockIndex = false;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 1 + size_t{kDirectoryEntryBytes} * i;
        if (head[at] > count || uint64_t{u24(head, at + 6)} + u24(head, at + 9) > sizeBytes) return false;
        blockIndex = blockIndex || head[at] == static_cast<uint8_t>(SectionId::BlockIndex);
    }
    return blockIndex;
}

bool holdsAJournal(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<uint8_t, kJournalMagic.size()> head{};
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    return head == kJournalMagic;
}

// The recording folder `path` lies in (or is), or empty.
fs::path enclosingRecordingFolder(const fs::path& path) {
    std::error_code error;
    for (fs::path folder = path; !folder.empty(); folder = folder.parent_path()) {
        if (fs::exists(folder / kRecordingName, error)) return folder;
        if (folder == folder.root_path()) break;
    }
    return {};
}

std::string insideRecordingFolder(const fs::path& target, const fs::path& folder) {
    return "Will not export to " + utf8FromPath(target) + ": it lies in the recording folder " + utf8FromPath(folder) +
           ", where nothing but the recording belongs; name a file or folder outside it.";
}

fs::path absolutePath(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(pathFromUtf8(path), error).lexically_normal();
    if (absolute.filename().empty()) absolute = absolute.parent_path();
    return absolute;
}

}  // namespace

std::string ExportTarget::checkFile(const std::string& path) {
    const fs::path target = absolutePath(path);
    const std::string name = lowerCase(utf8FromPath(target.filename()));
    std::error_code error;
    const bool exists = fs::is_regular_file(target, error);
    const uint64_t sizeBytes = exists ? fs::file_size(target, error) : 0;
    const bool journalName = name.size() > std::string(kJournalSuffix).size() && name.ends_with(kJournalSuffix);
    if (name == kRecordingName || journalName ||
        (exists && (holdsARecording(target, sizeBytes) || holdsAJournal(target)))) {
        return "Will not export over " + utf8FromPath(target) +
               ": it is a recording or a recording's journal, which an export must never replace; name a new file "
               "outside the recording folder.";
    }
    if (const fs::path folder = enclosingRecordingFolder(target.parent_path()); !folder.empty())
        return insideRecordingFolder(target, folder);
    return {};
}

std::string ExportTarget::checkFolder(const std::string& path) {
    const fs::path target = absolutePath(path);
    if (const fs::path folder = enclosingRecordingFolder(target); !folder.empty())
        return insideRecordingFolder(target, folder);
    return {};
}

}  // namespace lumen
