// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/termination_request.h"

#include <csignal>

namespace lumen {
namespace {

volatile std::sig_atomic_t requested = 0;

extern "C" void noteRequest(int) { requested = 1; }

}  // namespace

void TerminationRequest::watch() {
    std::signal(SIGTERM, noteRequest);
    std::signal(SIGINT, noteRequest);
#ifdef SIGHUP
    std::signal(SIGHUP, noteRequest);
#endif
}

bool TerminationRequest::take() {
    if (requested == 0) return false;
    requested = 0;
    return true;
}

}  // namespace lumen
