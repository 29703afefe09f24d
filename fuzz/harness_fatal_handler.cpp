// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness_fatal_handler.h"

#include <cstdio>
#include <cstdlib>

namespace lumen::fuzz {

void installHarnessFatalHandler() {
    static HarnessFatalHandler handler;
    static const bool installed = [] {
        installFatalHandler(&handler);
        return true;
    }();
    (void)installed;
}

void reportOutcome(std::string_view outcome) {
    static const bool verbose = std::getenv("LUMEN_FUZZ_VERBOSE") != nullptr;
    if (verbose) std::fprintf(stderr, "lumen fuzz: %.*s\n", static_cast<int>(outcome.size()), outcome.data());
}

}  // namespace lumen::fuzz
