// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumen {

// A request from outside to end the program: SIGTERM (a shutdown, `kill`),
// SIGINT (Ctrl+C in the terminal) and SIGHUP (the terminal closed). Each is
// noted, not acted on, so that the message loop can end the program the way
// the user's own close would, corrections saved.
class TerminationRequest {
public:
    // Replaces the default action of those signals, which ends the process
    // at once and loses what was corrected.
    static void watch();
    // True once after a signal arrived.
    static bool take();
};

}  // namespace lumen
