// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/child_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstring>

namespace lumen {
namespace {

constexpr size_t kMostErrorBytes = 64 * 1024;
constexpr int kPollMilliseconds = 100;

[[noreturn]] void becomeChild(const std::string& program, const std::vector<std::string>& arguments, int errorPipe) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(devNull, STDOUT_FILENO);
    }
    ::dup2(errorPipe, STDERR_FILENO);
    ::execv(program.c_str(), argv.data());
    const char* why = std::strerror(errno);
    (void)!::write(STDERR_FILENO, why, std::strlen(why));
    ::_exit(ChildRun::kCannotExecuteStatus);
}

void recordEnd(int status, ChildRun& run) {
    if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
}

}  // namespace

ChildRun runChildProgram(const std::string& program, const std::vector<std::string>& arguments, int deadlineSeconds) {
    ChildRun run;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return run;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return run;
    }
    if (child == 0) becomeChild(program, arguments, pipeEnds[1]);
    ::close(pipeEnds[1]);
    run.started = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(deadlineSeconds);
    bool open = true;
    int status = 0;
    while (true) {
        if (open) {
            pollfd wait{pipeEnds[0], POLLIN, 0};
            if (::poll(&wait, 1, kPollMilliseconds) > 0) {
                char buffer[4096];
                const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
                if (got <= 0)
                    open = false;
                else if (run.errorText.size() < kMostErrorBytes)
                    run.errorText.append(buffer, static_cast<size_t>(got));
            }
        } else {
            ::usleep(kPollMilliseconds * 1000);
        }
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) {
            recordEnd(status, run);
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            run.timedOut = true;
            break;
        }
    }
    ::close(pipeEnds[0]);
    if (run.errorText.size() > kMostErrorBytes) run.errorText.resize(kMostErrorBytes);
    return run;
}

std::string siblingProgram(const std::string& name) {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return name;
    std::string own(path, static_cast<size_t>(length));
    const size_t slash = own.rfind('/');
    return slash == std::string::npos ? name : own.substr(0, slash + 1) + name;
}

}  // namespace lumen
