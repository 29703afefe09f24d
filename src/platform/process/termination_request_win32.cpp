// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <atomic>

#include "platform/process/termination_request.h"

namespace lumen {
namespace {

std::atomic<bool> requested{false};

// Runs on a thread of its own: it only notes the request. Returning TRUE
// keeps the default handler (ExitProcess) from running.
BOOL WINAPI noteRequest(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            requested = true;
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void TerminationRequest::watch() { SetConsoleCtrlHandler(noteRequest, TRUE); }

bool TerminationRequest::take() { return requested.exchange(false); }

}  // namespace lumen
