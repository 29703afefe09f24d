// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/draw/geometry.h"
#include "platform/print/paper_size.h"

namespace lumen {

// The viewer's command line:
//   lumen [--home DIR] [--headless WxH] [--script FILE] [--print-to FILE.pdf]
//         [--paper a4|letter] [PRINTER | RECORDING]
// --paper is the sheet of the --print-to file (A4 when not given); system
// printers print on their own default media.
// PRINTER is a whole number ("%d"); any other argument is a RECORDING file
// to import and open (not together with --home). An option-like argument
// that is no number is an unknown option.
// --script without --headless runs headless on a 1024 x 768 screen.
struct LaunchOptions {
    std::optional<std::string> home;
    std::optional<Size> headlessScreen;
    std::optional<std::string> script;
    std::optional<std::string> printTo;
    PaperSize paper;
    int32_t printerIndex = 0;
    std::optional<std::string> recordingFile;
    bool help = false;                 // --help or -h: print the usage and stop
    bool version = false;              // --version: print the version and licence and stop
    std::optional<std::string> error;  // a bad command line: the message to print

    // `arguments` excludes the program name.
    static LaunchOptions parse(std::span<const std::string_view> arguments);
    bool isHeadless() const { return headlessScreen.has_value(); }
};

}  // namespace lumen
