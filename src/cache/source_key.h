// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lumen {

// What names a source recording's content: the files it is read from (a
// WFDB record is its header, signal and annotation files), their sizes and
// a 64-bit hash of their bytes. Two opens of the same bytes give the same
// key wherever the file lies; a changed byte gives another.
class SourceKey {
public:
    // Throws ImportError naming the file when one cannot be read.
    static SourceKey of(const std::string& sourcePath);

    // The files that make up the source, the named one first.
    static std::vector<std::string> filesOf(const std::string& sourcePath);

    // A folder name: the record's name (letters, digits, '-' and '_' only)
    // and the hash in hexadecimal.
    std::string folderName() const;
    uint64_t hash() const { return hash_; }

private:
    std::string stem_;
    uint64_t hash_ = 0;
};

}  // namespace lumen
