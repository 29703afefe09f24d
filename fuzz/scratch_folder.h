// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lumen::fuzz {

// One private folder per fuzzing process, removed at exit: under
// $LUMEN_FUZZ_SCRATCH, else /dev/shm when it exists (the file written for
// every input then stays in memory), else $TMPDIR. It serves as program
// home and recording folder at once.
class ScratchFolder {
public:
    static ScratchFolder& instance();

    // The folder with a trailing '/', as a program directory.
    const std::string& directory() const { return directory_; }
    // The folder without it, as path.tmp would name the recording folder.
    std::string recordingDirectory() const { return directory_.substr(0, directory_.size() - 1); }

    // Writes (replaces) the file and returns its full path.
    std::string write(std::string_view name, std::span<const uint8_t> bytes) const;
    std::string write(std::string_view name, std::string_view text) const;
    void remove(std::string_view name) const;

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    ScratchFolder();
    ~ScratchFolder();

    std::string directory_;
};

}  // namespace lumen::fuzz
