// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace lumen {

// Window messages between programs, by their registered numbers: the
// viewer's exit notification goes to every program that listens, and the
// acquisition program's close request comes to the viewer's main window.
// Each back-end has one carrier; without one, nothing is sent or received.
class ProgramMessages {
public:
    virtual ~ProgramMessages() = default;

    // Sends `message` to every program that listens; false when it reached
    // no carrier.
    virtual bool broadcast(uint32_t message) = 0;
    // The accepted messages that arrived since the last call, in order,
    // without waiting; the caller posts them to the main window. A carrier
    // that delivers into the window's queue by itself returns none.
    virtual std::vector<uint32_t> takeReceived() = 0;
};

// The system's carrier; `accepted` is the one number taken from other
// programs. Never null.
std::unique_ptr<ProgramMessages> openProgramMessages(uint32_t accepted);

}  // namespace lumen
