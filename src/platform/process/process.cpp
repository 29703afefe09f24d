// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/process.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <vector>

namespace lumen {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string programPath() {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return length > 0 ? std::string(buffer.data(), static_cast<size_t>(length)) : std::string{};
}

std::optional<FileTime> fileWriteTime(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    std::tm fields{};
    const std::time_t seconds = info.st_mtime;
    if (::gmtime_r(&seconds, &fields) == nullptr) {
        return std::nullopt;
    }
    return FileTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                    fields.tm_hour,        fields.tm_min,     fields.tm_sec};
}

std::optional<std::string> findProgram(std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    const std::string bare(name);
    if (bare.find('/') != std::string::npos) {
        return isExecutableFile(bare) ? std::optional<std::string>(bare) : std::nullopt;
    }
    if (isExecutableFile("./" + bare)) {
        return "./" + bare;
    }
    const char* searchPath = std::getenv("PATH");
    std::string_view directories = searchPath != nullptr ? searchPath : "/usr/bin:/bin";
    while (!directories.empty()) {
        const size_t colon = std::min(directories.find(':'), directories.size());
        const std::string directory(directories.substr(0, colon));
        directories.remove_prefix(std::min(colon + 1, directories.size()));
        const std::string candidate = (directory.empty() ? std::string(".") : directory) + "/" + bare;
        if (isExecutableFile(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

bool setEnvironmentVariable(std::string_view name, std::string_view value) {
    return ::setenv(std::string(name).c_str(), std::string(value).c_str(), 1) == 0;
}

std::optional<std::string> environmentVariable(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

bool startProgram(std::string_view name) { return startProgram(name, {}); }

bool startProgram(std::string_view name, const std::vector<std::string>& arguments) {
    const auto path = findProgram(name);
    if (!path) {
        return false;
    }
    std::vector<std::string> words{std::string(name)};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    // Two forks: the program is adopted by init, so nobody has to wait for it.
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {
            ::execv(path->c_str(), argv.data());
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return true;
}

}  // namespace lumen
