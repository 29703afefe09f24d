// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window/driver_registry.h"

#include <array>
#include <cstdlib>

#include "platform/headless/headless_driver.h"
#include "platform/headless/script_reader.h"
#if LUMEN_HAVE_SDL
#include "platform/draw/font_resolver.h"
#include "platform/sdl/sdl_driver.h"
#endif
#if LUMEN_HAVE_WIN32
#include "platform/win32/win32_driver.h"
#endif

namespace lumen {

namespace {

constexpr int kScriptErrorStatus = 2;
constexpr int kNoDisplayStatus = 1;

std::unique_ptr<Driver> openHeadless(const LaunchOptions& options, std::string& failure, int& failureStatus) {
    Script script;
    if (options.script) {
        script = ScriptReader::readFile(*options.script);
        if (script.error) {
            failure = "script line " + std::to_string(script.error->lineNumber) + ": " + script.error->message;
            failureStatus = kScriptErrorStatus;
            return nullptr;
        }
    }
    return std::make_unique<HeadlessDriver>(options.headlessScreen.value_or(Size{}), std::move(script.actions));
}

#if LUMEN_HAVE_SDL
// Without a display server SDL may still start on an invisible back-end;
// a viewer nobody can see is no use, so that counts as no display too.
bool displayNamed() {
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("SDL_VIDEODRIVER") != nullptr;
}

std::unique_ptr<Driver> openSdl(const LaunchOptions& /*options*/, std::string& failure, int& failureStatus) {
    failureStatus = kNoDisplayStatus;
    if (!displayNamed()) {
        failure = "lumen: no display available (DISPLAY is not set); use --headless WxH";
        return nullptr;
    }
    auto driver = std::make_unique<SdlDriver>();
    // Fonts load while the recording is opened and the window made; only
    // after SDL has started, which sets the environment for a moment.
    prepareFontConfiguration();
    if (!driver->isReady()) {
        failure = "lumen: no display available (SDL could not be started)";
        return nullptr;
    }
    return driver;
}
#endif

#if LUMEN_HAVE_WIN32
std::unique_ptr<Driver> openWin32(const LaunchOptions& /*options*/, std::string& failure, int& failureStatus) {
    auto driver = std::make_unique<Win32Driver>();
    if (!driver->isReady()) {
        failure = "lumen: no display available (the window class could not be registered)";
        failureStatus = kNoDisplayStatus;
        return nullptr;
    }
    return driver;
}
#endif

constexpr std::array kDrivers{
    DriverBootstrap{"headless", true, openHeadless},
#if LUMEN_HAVE_WIN32
    DriverBootstrap{"win32", false, openWin32},
#endif
#if LUMEN_HAVE_SDL
    DriverBootstrap{"sdl", false, openSdl},
#endif
};

}  // namespace

std::span<const DriverBootstrap> compiledDrivers() { return kDrivers; }

std::unique_ptr<Driver> openDriver(const LaunchOptions& options, std::string& failure, int& failureStatus) {
    failure = "lumen: no display available (this build has no display driver); use --headless WxH";
    failureStatus = kNoDisplayStatus;
    for (const DriverBootstrap& entry : kDrivers) {
        if (entry.scripted != options.isHeadless()) continue;
        if (auto driver = entry.open(options, failure, failureStatus)) return driver;
    }
    return nullptr;
}

}  // namespace lumen
