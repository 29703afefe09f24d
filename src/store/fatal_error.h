// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string_view>

namespace lumen {

// Where the store sends what ends the program. The viewer installs its own
// shutdown routine; without one, the message goes to stderr and the process
// exits with status 255, which is what the command-line tools want.
class FatalHandler {
public:
    virtual ~FatalHandler() = default;
    // A modal notice that precedes a fatal end (the decoder shows one).
    virtual void notice(std::string_view caption, std::string_view text) = 0;
    [[noreturn]] virtual void fatal(std::string_view message) = 0;
};

// nullptr restores the default handler.
void installFatalHandler(FatalHandler* handler);

void raiseNotice(std::string_view caption, std::string_view text);
[[noreturn]] void raiseFatal(std::string_view message);

// "File not found \"%s\" !" with the path filled in.
[[noreturn]] void raiseFileNotFound(std::string_view path);

}  // namespace lumen
