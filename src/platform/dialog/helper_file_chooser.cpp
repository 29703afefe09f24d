// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dialog/helper_file_chooser.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <optional>

extern char** environ;

namespace lumen {

namespace {

// More than any path the dialog can answer; a longer answer is no path.
constexpr size_t answerLimitBytes = 64u * 1024u;
constexpr int cancelledStatus = 1;  // zenity's and kdialog's "Cancel"

std::string joined(const std::vector<std::string>& words, char separator) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) text += separator;
        text += word;
    }
    return text;
}

// Only the search path: a program of that name in the current folder
// (perhaps where the recording lies) is never run.
std::optional<std::string> programOnSearchPath(const std::string& name) {
    const char* searchPath = std::getenv("PATH");
    std::string_view rest = searchPath != nullptr ? searchPath : "";
    while (!rest.empty()) {
        const size_t colon = std::min(rest.find(':'), rest.size());
        const std::string_view folder = rest.substr(0, colon);
        rest.remove_prefix(std::min(colon + 1, rest.size()));
        if (folder.empty() || folder.front() != '/') continue;
        const std::string candidate = std::string(folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

std::string readAnswer(int fd, bool& tooLong) {
    std::string text;
    std::array<char, 4096> chunk{};
    for (;;) {
        const ssize_t got = read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        // Read on to the end so that the program never blocks on a full pipe.
        if (text.size() + static_cast<size_t>(got) <= answerLimitBytes) {
            text.append(chunk.data(), static_cast<size_t>(got));
        } else {
            tooLong = true;
        }
    }
    return text;
}

int waitFor(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::vector<std::string> zenityArguments(const OpenFileRequest& request) {
    std::vector<std::string> arguments{"--file-selection", "--title=" + request.title};
    if (!request.patterns.empty()) {
        arguments.push_back("--file-filter=" + request.patternName + " | " + joined(request.patterns, ' '));
        arguments.push_back("--file-filter=All files | *");
    }
    return arguments;
}

std::vector<std::string> kdialogArguments(const OpenFileRequest& request) {
    std::vector<std::string> arguments{"--title", request.title, "--getopenfilename", "."};
    if (!request.patterns.empty()) {
        arguments.push_back(joined(request.patterns, ' ') + "|" + request.patternName);
    }
    return arguments;
}

ChooserAnswer runChooserProgram(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::array<int, 2> pipeEnds{-1, -1};
    if (pipe2(pipeEnds.data(), O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    // The toolkits' warnings are no message for the user.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return {};
    }
    bool tooLong = false;
    std::string answer = readAnswer(pipeEnds[0], tooLong);
    close(pipeEnds[0]);
    const int status = waitFor(child);
    if (status == cancelledStatus) return ChooserAnswer{ChooserOutcome::Cancelled, {}};
    if (status != 0 || tooLong) return {};
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
    if (answer.empty()) return ChooserAnswer{ChooserOutcome::Cancelled, {}};
    return ChooserAnswer{ChooserOutcome::Chosen, answer};
}

ChooserAnswer chooseWithHelperProgram(const OpenFileRequest& request) {
    if (const auto zenity = programOnSearchPath("zenity")) {
        const ChooserAnswer answer = runChooserProgram(*zenity, zenityArguments(request));
        if (answer.outcome != ChooserOutcome::Unavailable) return answer;
    }
    if (const auto kdialog = programOnSearchPath("kdialog")) {
        return runChooserProgram(*kdialog, kdialogArguments(request));
    }
    return {};
}

}  // namespace lumen
