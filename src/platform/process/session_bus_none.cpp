// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/session_bus.h"

namespace lumen {

// Built without D-Bus: there is no bus to reach.
struct SessionBus::Impl {};

SessionBus::SessionBus(uint32_t /*accepted*/) {}
SessionBus::~SessionBus() = default;
bool SessionBus::isConnected() const { return false; }
bool SessionBus::broadcast(uint32_t /*message*/) { return false; }
std::vector<uint32_t> SessionBus::takeReceived() { return {}; }

std::unique_ptr<ProgramMessages> openProgramMessages(uint32_t accepted) {
    return std::make_unique<SessionBus>(accepted);
}

}  // namespace lumen
