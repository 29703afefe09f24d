#pragma once
#include <atomic>
#include <functional>
#include <string>

#include "platform/window/window_system.h"

namespace lumen {

// Shows how far the opening of a file has come while the import works on
// another thread, so that the window stays alive through the seconds a day
// of ECG takes. The work gets a fraction to update and must not touch the
// window system.
class ImportProgress {
public:
    using Work = std::function<void(std::atomic<double>& fraction)>;

    // Without `showWindow` (a scripted run, whose clock stands still between
    // its actions) the work runs here, with nothing shown.
    ImportProgress(WindowSystem& system, std::string fileName, bool showWindow);

    // Runs `work` to its end with the window shown; an exception of the
    // work is thrown again here.
    void run(const Work& work);

private:
    static LResult procedure(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam,
                             LParam lParam);
    void paint(Canvas& canvas) const;

    WindowSystem& system_;
    std::string fileName_;
    bool showWindow_;
    WindowHandle window_;
    std::atomic<double> fraction_{0.0};
    std::atomic<bool> done_{false};
};

}  // namespace lumen
