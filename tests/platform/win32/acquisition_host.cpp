// SPDX-License-Identifier: GPL-3.0-or-later
// The acquisition program's side of the hand-over, for the desktop test:
// names the recording in path.tmp beside the viewer, starts it with no
// arguments, listens for its 0x221 broadcast and, once CLOSE_WHEN_FILE
// exists, asks it to close with 0x220. Reports one line per thing seen.
//
//   acquisition_host VIEWER.exe RECORDING_DIR [CLOSE_WHEN_FILE]
//
// Exit status 0 when the viewer ended within the deadline, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT kCloseRequest = 0x220;
constexpr UINT kExitNotification = 0x221;
constexpr DWORD kDeadlineMs = 120000;
constexpr DWORD kPollMs = 100;
constexpr UINT kSendTimeoutMs = 10000;

bool notificationReceived = false;

LRESULT CALLBACK listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kExitNotification) {
        notificationReceived = true;
        std::printf("received 0x221 (%llu, %lld)\n", static_cast<unsigned long long>(wParam),
                    static_cast<long long>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Broadcasts reach top-level windows only, shown or not.
HWND makeListeningWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = listen;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LumenAcquisitionHost";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, windowClass.lpszClassName, "acquisition host", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
}

bool writePathFile(const std::string& viewer, const std::string& recording) {
    FILE* file = std::fopen((folderOf(viewer) + "path.tmp").c_str(), "wt");
    if (file == nullptr) return false;
    std::fprintf(file, "%s\n", recording.c_str());
    return std::fclose(file) == 0;
}

struct WindowSearch {
    DWORD processId = 0;
    HWND found = nullptr;
};

BOOL CALLBACK matchViewerWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// 0x220 is WM_MDICREATE's number, so the desktop carries it between
// programs only when sent, and with a creation record to copy.
bool sendCloseRequest(DWORD processId) {
    WindowSearch search{processId, nullptr};
    EnumWindows(matchViewerWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) return false;
    MDICREATESTRUCTA creation{};
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(search.found, kCloseRequest, 0, reinterpret_cast<LPARAM>(&creation), SMTO_NORMAL,
                               kSendTimeoutMs, &result) != 0;
}

void pumpMessages() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) DispatchMessageA(&message);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: acquisition_host VIEWER.exe RECORDING_DIR [CLOSE_WHEN_FILE]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::string viewer = argv[1];
    const std::string closeWhen = argc == 4 ? argv[3] : "";
    if (makeListeningWindow() == nullptr || !writePathFile(viewer, argv[2])) {
        std::fprintf(stderr, "acquisition_host: cannot listen or write path.tmp\n");
        return 1;
    }
    std::string commandLine = "\"" + viewer + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(viewer.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folderOf(viewer).c_str(), &startup, &process) == 0) {
        std::fprintf(stderr, "acquisition_host: cannot start %s (error %lu)\n", viewer.c_str(), GetLastError());
        return 1;
    }
    std::printf("started %lu\n", process.dwProcessId);
    const ULONGLONG deadline = GetTickCount64() + kDeadlineMs;
    bool closeSent = false;
    bool ended = false;
    while (!ended && GetTickCount64() < deadline) {
        ended = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, kPollMs, QS_ALLINPUT) == WAIT_OBJECT_0;
        pumpMessages();
        if (!closeSent && !closeWhen.empty() && GetFileAttributesA(closeWhen.c_str()) != INVALID_FILE_ATTRIBUTES) {
            closeSent = sendCloseRequest(process.dwProcessId);
            if (closeSent) std::printf("sent 0x220\n");
        }
    }
    // The broadcast is posted before the viewer ends: give its delivery a moment.
    for (int i = 0; i < 10 && !notificationReceived; ++i) {
        Sleep(kPollMs);
        pumpMessages();
    }
    DWORD status = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &status);
    if (ended) {
        std::printf("viewer ended %ld\n", static_cast<long>(status));
    } else {
        std::printf("viewer still running after %lu ms\n", kDeadlineMs);
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended ? 0 : 1;
}
