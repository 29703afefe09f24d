// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/process/program_messages.h"

namespace lumen {

// Messages between programs carried as D-Bus messages on the session bus:
//   signal  org.lumen.Viewer.WindowMessage(uint32 message) on /org/lumen/Viewer
//           (broadcast at exit: 545; another program may send 544 to close us)
//   method  org.lumen.Viewer.PostMessage(uint32 message) on /org/lumen/Viewer
//           at the bus name org.lumen.Viewer
// Without a session bus every operation does nothing.
class SessionBus final : public ProgramMessages {
public:
    static constexpr const char* busName = "org.lumen.Viewer";
    static constexpr const char* objectPath = "/org/lumen/Viewer";
    static constexpr const char* interfaceName = "org.lumen.Viewer";
    static constexpr const char* signalName = "WindowMessage";
    static constexpr const char* methodName = "PostMessage";

    // Connects when DBUS_SESSION_BUS_ADDRESS names a bus; `accepted` is the
    // one message number taken from other programs (0x220, the close request).
    explicit SessionBus(uint32_t accepted = 0x220);
    ~SessionBus() override;
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    bool isConnected() const;
    // Sends the signal with `message` to every listener; false without a bus.
    bool broadcast(uint32_t message) override;
    // Reads what arrived without waiting; the accepted numbers, in order.
    std::vector<uint32_t> takeReceived() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lumen
