// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/import_progress.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace lumen {
namespace {

constexpr const char* kClassName = "LumenImportProgress";
constexpr uint32_t kTimerId = 1;
constexpr uint32_t kTimerPeriodMs = 100;
constexpr int32_t kMarginPixels = 40;
constexpr int32_t kBarTopPixels = 90;
constexpr int32_t kBarHeightPixels = 22;
constexpr int32_t kBarWidthPixels = 600;
constexpr Color kBarColor = rgb(0, 96, 176);

}  // namespace

ImportProgress::ImportProgress(WindowSystem& system, std::string fileName, bool showWindow)
    : PlainWindow(system, kClassName, true), fileName_(std::move(fileName)), showWindow_(showWindow) {}

void ImportProgress::run(const Work& work) {
    if (!showWindow_) {
        work(fraction_);
        return;
    }
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(fraction_);
        } catch (...) {
            failure = std::current_exception();
        }
        done_ = true;
    });
    runWindow();
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

void ImportProgress::opened() { system_.setTimer(window_, kTimerId, kTimerPeriodMs); }

void ImportProgress::timer() {
    if (!done_) {
        system_.invalidateRect(window_, std::nullopt, Erase::No);
        return;
    }
    system_.killTimer(window_, kTimerId);
    close();
}

void ImportProgress::paint(Canvas& canvas) {
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.selectFont(Font::make("Liberation Sans", 17, Font::boldWeight));
    canvas.textOut({kMarginPixels, 50}, "Opening " + fileName_ + " ...");
    const Rect bar{kMarginPixels, kBarTopPixels, kMarginPixels + kBarWidthPixels, kBarTopPixels + kBarHeightPixels};
    canvas.fillRect(bar, Brush::lightGrey());
    const auto filled = static_cast<int32_t>(kBarWidthPixels * std::clamp(fraction_.load(), 0.0, 1.0));
    canvas.fillRect(Rect{bar.left, bar.top, bar.left + filled, bar.bottom}, Brush::solid(kBarColor));
}

}  // namespace lumen
