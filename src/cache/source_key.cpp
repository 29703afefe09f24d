// SPDX-License-Identifier: GPL-3.0-or-later
#include "cache/source_key.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "import/import_error.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr uint64_t kFnvOffsetBasis = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;
constexpr size_t kReadChunkBytes = size_t{1} << 20;
constexpr size_t kMaxStemCharacters = 40;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// FNV-1a over 64-bit words (the tail byte by byte): fast enough to hash a
// day of ECG on every open, and any changed byte changes the result.
uint64_t mix(uint64_t hash, const uint8_t* bytes, size_t count) {
    size_t at = 0;
    for (; at + 8 <= count; at += 8) {
        uint64_t word = 0;
        std::memcpy(&word, bytes + at, sizeof word);
        hash = (hash ^ word) * kFnvPrime;
    }
    for (; at < count; ++at) hash = (hash ^ bytes[at]) * kFnvPrime;
    return hash;
}

uint64_t mixFile(uint64_t hash, const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(openFile(path, "rb"));
    if (!file) throw ImportError(path, "cannot be read; check that it exists and that you may read it");
    std::vector<uint8_t> chunk(kReadChunkBytes);
    uint64_t total = 0;
    for (size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0;) {
        hash = mix(hash, chunk.data(), got);
        total += got;
    }
    if (std::ferror(file.get())) throw ImportError(path, "could not be read to its end; copy it again and retry");
    const std::array<uint8_t, 8> size{static_cast<uint8_t>(total),       static_cast<uint8_t>(total >> 8),
                                      static_cast<uint8_t>(total >> 16), static_cast<uint8_t>(total >> 24),
                                      static_cast<uint8_t>(total >> 32), static_cast<uint8_t>(total >> 40),
                                      static_cast<uint8_t>(total >> 48), static_cast<uint8_t>(total >> 56)};
    return mix(hash, size.data(), size.size());
}

}  // namespace

std::vector<std::string> SourceKey::filesOf(const std::string& sourcePath) {
    namespace fs = std::filesystem;
    const fs::path path = pathFromUtf8(sourcePath);
    std::vector<std::string> files{sourcePath};
    const std::string extension = lowerCase(utf8FromPath(path.extension()));
    // A WFDB record's signal and annotations, and an ISHNE file's .ann,
    // lie beside it under its name.
    if (extension != ".hea" && extension != ".ecg") return files;
    std::error_code error;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string stem = utf8FromPath(path.stem());
    std::vector<std::string> siblings;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const fs::path name = entry.path().filename();
        if (name == path.filename() || utf8FromPath(name.stem()) != stem || !entry.is_regular_file(error)) continue;
        if (extension == ".ecg" && lowerCase(utf8FromPath(name.extension())) != ".ann") continue;
        siblings.push_back(utf8FromPath(entry.path()));
    }
    std::sort(siblings.begin(), siblings.end());
    files.insert(files.end(), siblings.begin(), siblings.end());
    return files;
}

SourceKey SourceKey::of(const std::string& sourcePath) {
    SourceKey key;
    uint64_t hash = kFnvOffsetBasis;
    for (const std::string& file : filesOf(sourcePath)) {
        const std::string extension = lowerCase(utf8FromPath(pathFromUtf8(file).extension()));
        hash = mix(hash, reinterpret_cast<const uint8_t*>(extension.data()), extension.size());
        hash = mixFile(hash, file);
    }
    key.hash_ = hash;
    for (const char c : utf8FromPath(pathFromUtf8(sourcePath).stem())) {
        const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
        if (key.stem_.size() < kMaxStemCharacters) key.stem_ += plain && static_cast<unsigned char>(c) < 128 ? c : '_';
    }
    return key;
}

std::string SourceKey::folderName() const {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash_));
    return (stem_.empty() ? std::string("recording") : stem_) + "-" + hex;
}

}  // namespace lumen
