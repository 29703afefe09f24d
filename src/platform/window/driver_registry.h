// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/window/driver.h"
#include "platform/window/launch_options.h"

namespace lumen {

// A driver the program was built with, as SDL lists its video back-ends:
// a name and a way to open it. Which entries exist is decided when the
// program is built (headless always; SDL on Linux, Win32 on Windows).
struct DriverBootstrap {
    std::string_view name;
    // Serves `--headless` runs (and only those); the others need a display.
    bool scripted = false;
    // Opens the driver for these options, or returns null with `failure`
    // set: what to print on standard error, and the exit status.
    std::unique_ptr<Driver> (*open)(const LaunchOptions& options, std::string& failure, int& failureStatus);
};

// Every driver compiled in, headless first, then the display drivers in the
// order they are tried.
std::span<const DriverBootstrap> compiledDrivers();

// The driver for these options: the headless one for `--headless`, else
// the first display driver that opens. Null with `failure` and
// `failureStatus` set when none does.
std::unique_ptr<Driver> openDriver(const LaunchOptions& options, std::string& failure, int& failureStatus);

}  // namespace lumen
