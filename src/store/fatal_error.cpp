// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/fatal_error.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace lumen {
namespace {

class StderrFatalHandler final : public FatalHandler {
public:
    // Tools report only the fatal message itself: one line on stderr.
    void notice(std::string_view, std::string_view) override {}
    [[noreturn]] void fatal(std::string_view message) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
        std::exit(255);
    }
};

StderrFatalHandler defaultHandler;
FatalHandler* currentHandler = &defaultHandler;

}  // namespace

void installFatalHandler(FatalHandler* handler) {
    currentHandler = handler != nullptr ? handler : &defaultHandler;
}

void raiseNotice(std::string_view caption, std::string_view text) {
    currentHandler->notice(caption, text);
}

void raiseFatal(std::string_view message) {
    currentHandler->fatal(message);
    std::abort();  // a handler must not return
}

void raiseFileNotFound(std::string_view path) {
    std::string message = "File not found \"";
    message.append(path);
    message.append("\" !");
    raiseFatal(message);
}

}  // namespace lumen
