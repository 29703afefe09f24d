// SPDX-License-Identifier: GPL-3.0-or-later
#include "scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace lumen::fuzz {
namespace {

std::string baseFolder() {
    const char* chosen = std::getenv("LUMEN_FUZZ_SCRATCH");
    if (chosen != nullptr && *chosen != '\0') return chosen;
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    const char* temporary = std::getenv("TMPDIR");
    return temporary != nullptr && *temporary != '\0' ? temporary : "/tmp";
}

}  // namespace

ScratchFolder& ScratchFolder::instance() {
    static ScratchFolder folder;
    return folder;
}

ScratchFolder::ScratchFolder() {
    std::string pattern = baseFolder() + "/lumen-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("lumen fuzz: mkdtemp");
        std::abort();
    }
    directory_ = pattern + "/";
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(recordingDirectory(), error);
}

std::string ScratchFolder::write(std::string_view name, std::span<const uint8_t> bytes) const {
    const std::string path = directory_ + std::string(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        std::abort();
    }
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

std::string ScratchFolder::write(std::string_view name, std::string_view text) const {
    return write(name, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

void ScratchFolder::remove(std::string_view name) const {
    std::error_code error;
    std::filesystem::remove(directory_ + std::string(name), error);
}

}  // namespace lumen::fuzz
