// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

#include "store/fatal_error.h"

namespace lumen::fuzz {

// A fatal error of the store is a legal end for corrupt input; the handler
// turns it into this exception so that the harness unwinds (destructors
// run) and goes on with the next input.
struct HarnessFatal {
    std::string message;
};

class HarnessFatalHandler final : public FatalHandler {
public:
    void notice(std::string_view, std::string_view) override {}
    [[noreturn]] void fatal(std::string_view message) override { throw HarnessFatal{std::string(message)}; }
};

// Installs the throwing handler (once per process).
void installHarnessFatalHandler();
// With LUMEN_FUZZ_VERBOSE set, names how each input ended (for reproducing).
void reportOutcome(std::string_view outcome);

enum class Outcome { Completed, FatalError };

// Runs `body`; a fatal error of the store ends it early.
template <typename Body>
Outcome runGuarded(Body&& body) {
    installHarnessFatalHandler();
    try {
        body();
    } catch (const HarnessFatal& error) {
        reportOutcome(error.message);
        return Outcome::FatalError;
    }
    reportOutcome("completed");
    return Outcome::Completed;
}

}  // namespace lumen::fuzz
