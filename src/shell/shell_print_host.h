// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string_view>

#include "platform/window/window_system.h"
#include "print/job_print_host.h"

namespace lumen {

// Printing's questions and failures as the window system's message boxes
// (no owner), so that a script answers them like any other box.
class ShellPrintHost final : public JobPrintHost {
public:
    explicit ShellPrintHost(WindowSystem& system) : system_(system) {}

    bool confirm(std::string_view text, std::string_view caption) override {
        return system_.messageBox({}, text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    void showError(std::string_view text, std::string_view caption) override {
        system_.messageBox({}, text, caption, MB_OK | MB_ICONEXCLAMATION);
    }

private:
    WindowSystem& system_;
};

}  // namespace lumen
