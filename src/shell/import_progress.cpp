#include "shell/import_progress.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace lumen {
namespace {

constexpr const char* kClassName = "LumenImportProgress";
constexpr const char* kSelfProperty = "lumen.importProgress";
constexpr uint32_t kTimerId = 1;
constexpr uint32_t kTimerPeriodMs = 100;
constexpr int32_t kMarginPixels = 40;
constexpr int32_t kBarTopPixels = 90;
constexpr int32_t kBarHeightPixels = 22;
constexpr int32_t kBarWidthPixels = 600;
constexpr Color kBarColor = rgb(0, 96, 176);

}  // namespace

ImportProgress::ImportProgress(WindowSystem& system, std::string fileName, bool showWindow)
    : system_(system), fileName_(std::move(fileName)), showWindow_(showWindow) {}

void ImportProgress::run(const Work& work) {
    if (!showWindow_) {
        work(fraction_);
        return;
    }
    system_.registerClass(WindowClass{kClassName, &procedure, CS_HREDRAW | CS_VREDRAW, Brush::white(),
                                      system_.loadCursor(IDC_WAIT)});
    window_ = system_.createWindow(WindowCreation{kClassName, "Lumen", WS_OVERLAPPEDWINDOW,
                                                  Rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT},
                                                  {}, 0});
    system_.setProp(window_, kSelfProperty, this);
    system_.showWindow(window_, ShowCommand::Maximized);
    system_.updateWindow(window_);
    system_.setTimer(window_, kTimerId, kTimerPeriodMs);
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(fraction_);
        } catch (...) {
            failure = std::current_exception();
        }
        done_ = true;
    });
    system_.runMessageLoop();
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

void ImportProgress::paint(Canvas& canvas) const {
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.selectFont(Font::make("Liberation Sans", 17, Font::boldWeight));
    canvas.textOut({kMarginPixels, 50}, "Opening " + fileName_ + " ...");
    const Rect bar{kMarginPixels, kBarTopPixels, kMarginPixels + kBarWidthPixels, kBarTopPixels + kBarHeightPixels};
    canvas.fillRect(bar, Brush::lightGrey());
    const auto filled = static_cast<int32_t>(kBarWidthPixels * std::clamp(fraction_.load(), 0.0, 1.0));
    canvas.fillRect(Rect{bar.left, bar.top, bar.left + filled, bar.bottom}, Brush::solid(kBarColor));
    canvas.selectFont(Font::system());
}

LResult ImportProgress::procedure(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam,
                                  LParam lParam) {
    auto* self = static_cast<ImportProgress*>(system.getProp(window, kSelfProperty));
    switch (message) {
    case WM_PAINT: {
        PaintStruct paint;
        Canvas* canvas = system.beginPaint(window, paint);
        if (canvas != nullptr && self != nullptr) self->paint(*canvas);
        system.endPaint(window, paint);
        return 0;
    }
    case WM_TIMER:
        if (self != nullptr && self->done_) {
            system.killTimer(window, kTimerId);
            system.destroyWindow(window);
        } else {
            system.invalidateRect(window, std::nullopt, Erase::No);
        }
        return 0;
    case WM_CLOSE:
        return 0;  // the import finishes first: a half-made home is never left
    case WM_DESTROY:
        system.removeProp(window, kSelfProperty);
        system.postQuitMessage(0);
        return 0;
    default:
        return system.defWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace lumen
