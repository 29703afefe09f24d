// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/process/program_messages.h"

namespace lumen {

namespace {

// The desktop carries the messages itself: the exit notification is posted
// to every top-level window, and the close request arrives as a real
// message to the main window (Win32Driver), so nothing is left to take.
class DesktopMessages final : public ProgramMessages {
public:
    bool broadcast(uint32_t message) override { return PostMessageW(HWND_BROADCAST, message, 0, 0) != 0; }
    std::vector<uint32_t> takeReceived() override { return {}; }
};

}  // namespace

std::unique_ptr<ProgramMessages> openProgramMessages(uint32_t /*accepted*/) {
    return std::make_unique<DesktopMessages>();
}

}  // namespace lumen
