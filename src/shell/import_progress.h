// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <atomic>
#include <functional>
#include <string>

#include "shell/plain_window.h"

namespace lumen {

// Shows how far the opening of a file has come while the import works on
// another thread, so that the window stays alive through the seconds a day
// of ECG takes. The work gets a fraction to update and must not touch the
// window system.
class ImportProgress final : public PlainWindow {
public:
    using Work = std::function<void(std::atomic<double>& fraction)>;

    // Without `showWindow` (a scripted run, whose clock stands still between
    // its actions) the work runs here, with nothing shown.
    ImportProgress(WindowSystem& system, std::string fileName, bool showWindow);

    // Runs `work` to its end with the window shown; an exception of the
    // work is thrown again here.
    void run(const Work& work);

private:
    void opened() override;
    void paint(Canvas& canvas) override;
    void timer() override;
    // The import finishes first: a half-made home is never left.
    bool mayClose() override { return false; }

    std::string fileName_;
    bool showWindow_;
    std::atomic<double> fraction_{0.0};
    std::atomic<bool> done_{false};
};

}  // namespace lumen
