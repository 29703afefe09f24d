// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer in a real X window: an X server of the test's own, real key
// presses, clicks and a caliper drag through xdotool, screenshots of the
// whole screen, and the exit button.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "acceptance/screen_image.h"
#include "events/timeline_layout.h"
#include "shell/layout_rules.h"
#include "shell/recording_probe.h"
#include "support/x_server.h"

namespace lumen::testing {
namespace {

void pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// `lumen --home DIR` on the display, as a desktop would start it.
class Viewer {
public:
    Viewer(const DemoHome& home, const std::string& display) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("DISPLAY", display.c_str(), 1);
            ::setenv("SDL_VIDEODRIVER", "x11", 1);
            // SDL's X11 libraries keep memory until the process ends.
            ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
            const std::string err = home.path("stderr.txt");
            if (std::freopen(err.c_str(), "w", stderr) == nullptr) ::_exit(126);
            ::execl(LUMEN_PATH, "lumen", "--home", home.programDirectory().c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Viewer() {
        if (pid_ > 0 && !exitStatus_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    void signal(int number) const { ::kill(pid_, number); }
    // The exit status once the program has ended, within about 20 s.
    std::optional<int> waitForExit() {
        for (int tries = 0; tries < 200 && !exitStatus_; ++tries) {
            int raw = 0;
            if (::waitpid(pid_, &raw, WNOHANG) == pid_)
                exitStatus_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            else
                pause(100);
        }
        return exitStatus_;
    }

private:
    pid_t pid_ = -1;
    std::optional<int> exitStatus_;
};

class RealDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!installed("Xvfb xdotool import")) {
            GTEST_SKIP() << "Xvfb, xdotool or ImageMagick's import is not installed";
        }
        server_ = std::make_unique<XServer>();
        ASSERT_FALSE(server_->display().empty()) << "Xvfb did not start";
    }

public:
    const std::string& display() const { return server_->display(); }
    std::string x(const std::string& command) const { return "DISPLAY=" + server_->display() + " " + command; }
    void xdotool(const std::string& arguments) const {
        ASSERT_EQ(std::system(x("xdotool " + arguments + " > /dev/null 2>&1").c_str()), 0) << arguments;
    }
    // Screenshots of the whole screen until one shows what `wanted` asks, at most ~15 s.
    std::unique_ptr<ScreenImage> shotUntil(const DemoHome& home,
                                           const std::function<bool(const ScreenImage&)>& wanted) {
        const std::string png = home.path("screen.png");
        for (int tries = 0; tries < 75; ++tries) {
            if (std::system(x("import -window root " + png + " 2>/dev/null").c_str()) == 0) {
                auto shot = std::make_unique<ScreenImage>(png);
                if (shot->loaded() && wanted(*shot)) return shot;
            }
            pause(200);
        }
        return nullptr;
    }

    std::unique_ptr<XServer> server_;
};

std::string place(int32_t x, int32_t y) { return std::to_string(x) + " " + std::to_string(y); }

TEST_F(RealDisplay, KeysClicksAndACaliperDragDriveTheViewerUntilTheExitButton) {
    DayHome home;  // opens on the first ventricular tachycardia
    const HolterEvent pause = holterEvents(home, "PAUSE").at(2);
    // The time line's window, from a headless run on the same screen.
    const std::string dump = runSteps(home, {""}).dumps.at(0);
    const int64_t start = dumpNumber(dump, "catalog", "cursorTime") - dumpNumber(dump, "catalog", "cursorPosition");
    const int64_t windowStart = dumpNumber(dump, "catalog", "windowStart");
    const int64_t windowLength = dumpNumber(dump, "catalog", "windowEnd") - windowStart;
    home.write("doef.mem", "0 0 108 2 2\n");

    const ShellLayout layout = computeLayout(1024, Size{1024, 768});
    TimelineLayout rows;
    rows.setArea(Rect{0, 0, layout.browserPlace.width(), layout.browserPlace.height() - layout.buttonHeight});
    const Rect pauseRow = rows.stripRect(9);
    const int32_t pauseX =
        layout.browserPlace.left + pauseRow.left +
        static_cast<int32_t>((start + pause.position - windowStart) * pauseRow.width() / windowLength);
    const int32_t pauseY = layout.browserPlace.top + (pauseRow.top + pauseRow.bottom) / 2;
    // The speed button is the fifth of the ECG pane's column; exit is the browser's last button.
    const int32_t ecgButtonX = layout.ecgPlace.right - layout.ecgButtonHalf;
    const int32_t speedY = layout.ecgPlace.top + 4 * layout.ecgButtonHeight + layout.ecgButtonHeight / 2;
    const int32_t exitX = layout.browserPlace.right - layout.buttonUnit / 2;
    const int32_t exitY = layout.browserPlace.bottom - layout.buttonHeight / 2;
    const int32_t caliperY = layout.ecgPlace.top + 80;

    Viewer viewer(home, server_->display());
    const auto drawn = [](const ScreenImage& shot) {
        return shot.count(kStripRegion, kTraceColor) > 300 && shot.nonBackground(kRowsRegion) > 5000;
    };
    const std::unique_ptr<ScreenImage> first = shotUntil(home, drawn);
    ASSERT_TRUE(first) << "the window never showed the strip and the rows: " << home.text("stderr.txt");
    EXPECT_EQ(first->width(), 1024);
    EXPECT_GT(first->nonBackground(kStripRegion), 20000) << "grid, traces and labels";
    EXPECT_GE(first->distinctColors(kStripRegion), 5);
    EXPECT_GE(first->distinctColors(kRowsRegion), 3);
    EXPECT_GT(first->count(kStripRegion, kVentricularColor), 20) << "the tachycardia in its colour";

    xdotool("mousemove " + place(500, 300) + " key Right");
    const auto next =
        shotUntil(home, [&](const ScreenImage& shot) { return shot.differences(*first, kStripRegion) > 2000; });
    ASSERT_TRUE(next) << "the Right key did not move to the next tachycardia";

    xdotool("mousemove " + place(pauseX, pauseY) + " click 1");
    const auto paused =
        shotUntil(home, [&](const ScreenImage& shot) { return shot.differences(*next, kStripRegion) > 2000; });
    ASSERT_TRUE(paused) << "the click into the pause row did not select a pause";

    const int32_t left = kStripRegion.left;
    xdotool("mousemove " + place(left + 300, caliperY) + " mousedown 1 mousemove " + place(left + 360, caliperY) +
            " mousemove " + place(left + 400, caliperY) + " mouseup 1");
    const auto measured = shotUntil(home, [&](const ScreenImage& shot) {
        const Region line{left + 400, kStripRegion.top, left + 401, kStripRegion.bottom};
        return shot.count(line, kCaliperColor) > 150;
    });
    ASSERT_TRUE(measured) << "the caliper drag left no measuring lines";
    EXPECT_GT(measured->count(Region{left + 300, kStripRegion.top, left + 301, kStripRegion.bottom}, kCaliperColor),
              150);

    xdotool("mousemove " + place(ecgButtonX, speedY) + " click 1");
    ASSERT_TRUE(shotUntil(home, [&](const ScreenImage& shot) {
        return shot.differences(*measured, kStripRegion) > 2000;
    })) << "the speed button did not redraw the strip";
    xdotool("mousemove " + place(exitX, exitY) + " click 1");
    const std::optional<int> status = viewer.waitForExit();
    ASSERT_TRUE(status) << "the exit button did not end the viewer";
    EXPECT_EQ(*status, 255) << home.text("stderr.txt");
    // The pause at 50 mm/s: the first block shown, no change, PAUSE, speed 4, amplitude 2.
    const int64_t firstBlock = (pause.position - 920 / 4 / 2) / 500;
    EXPECT_EQ(home.text("doef.mem"), std::to_string(firstBlock * 10 + 8 * 3600 + 3 * 60) + "\n0\n114\n4\n2\n");
}

// The print button's centre: the fifth of the browser's six buttons.
Point printButton() {
    const ShellLayout layout = computeLayout(1024, Size{1024, 768});
    const int32_t half = layout.buttonUnit / 2;
    const int32_t left = layout.browserPlace.right - 4 * layout.buttonUnit + 3 * half + layout.buttonUnit;
    return Point{left + half / 2, layout.browserPlace.bottom - layout.buttonHeight / 2};
}

// A message box's caption bar, in the middle of the screen.
constexpr Region kBoxRegion{212, 184, 812, 584};
constexpr Color kBoxCaptionColor = rgb(0, 0, 128);

// A viewer on the test's display with a beat relabelled (A).
class CorrectedViewer {
public:
    CorrectedViewer(RealDisplay& test, const DemoHome& home) : viewer(home, test.display()), test_(test), home_(home) {
        const auto first = test.shotUntil(home, [](const ScreenImage& shot) {
            return shot.count(kStripRegion, kTraceColor) > 300 && shot.nonBackground(kRowsRegion) > 5000;
        });
        if (!first) return;
        test.xdotool("mousemove " + place(500, 300) + " key a");
        ready = test.shotUntil(home, [&](const ScreenImage& shot) {
            return shot.differences(*first, kStripRegion) > 50;
        }) != nullptr;
    }
    // Clicks or keys what opens a box, and waits until it shows.
    bool openBox(const std::string& xdotoolActions) {
        test_.xdotool(xdotoolActions);
        return test_.shotUntil(home_, [](const ScreenImage& shot) {
            return shot.count(kBoxRegion, kBoxCaptionColor) > 2000;
        }) != nullptr;
    }
    Viewer viewer;
    bool ready = false;

private:
    RealDisplay& test_;
    const DemoHome& home_;
};

// The exit ran whole: status 255, doef.mem with the labels-changed line
// `changed`, dore.mem when something changed, no journal left.
void expectTheNormalExit(Viewer& viewer, const DemoHome& home, bool changed, const std::string& what) {
    const std::optional<int> status = viewer.waitForExit();
    ASSERT_TRUE(status) << what << " did not end the viewer";
    EXPECT_EQ(*status, 255) << what << ": " << home.text("stderr.txt");
    const std::string handOver = home.text("doef.mem");
    EXPECT_EQ(handOver.substr(handOver.find('\n') + 1, 2), changed ? "1\n" : "0\n") << what;
    EXPECT_EQ(home.exists("dore.mem"), changed) << what;
    EXPECT_FALSE(std::filesystem::exists(home.recordingPath("holter.mem-journal"))) << what;
}

// Closing the terminal, Ctrl+C or a shutdown's SIGTERM end the viewer as
// its Exit button does: the relabelled beat saved and handed over.
TEST_F(RealDisplay, TerminationSignalsEndTheViewerThroughItsNormalExit) {
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        DemoHome home;
        const std::vector<uint8_t> before = home.readFile(home.recordingPath("holter.mem"));
        CorrectedViewer corrected(*this, home);
        ASSERT_TRUE(corrected.ready) << number << ": " << home.text("stderr.txt");
        corrected.viewer.signal(number);
        expectTheNormalExit(corrected.viewer, home, true, "signal " + std::to_string(number));
        EXPECT_NE(home.readFile(home.recordingPath("holter.mem")), before) << number;
    }
}

// The same under the exit's own error box: a recording copied over the
// open one makes the exit's save fail, and the box says so; the signal
// closes it and the exit ends without waiting for anyone.
TEST_F(RealDisplay, TerminationSignalsEndTheViewerAlsoUnderAnErrorBox) {
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        DemoHome home;
        CorrectedViewer corrected(*this, home);
        ASSERT_TRUE(corrected.ready) << number << ": " << home.text("stderr.txt");
        const std::string recording = home.recordingPath("holter.mem");
        const std::vector<uint8_t> copy = home.readFile(recording);
        home.writeFile(recording + ".copy", copy);
        std::filesystem::rename(recording + ".copy", recording);
        const ShellLayout layout = computeLayout(1024, Size{1024, 768});
        const Point exit{layout.browserPlace.right - layout.buttonUnit / 2,
                         layout.browserPlace.bottom - layout.buttonHeight / 2};
        ASSERT_TRUE(corrected.openBox("mousemove " + place(exit.x, exit.y) + " click 1"))
            << number << ": " << home.text("stderr.txt");
        corrected.viewer.signal(number);
        expectTheNormalExit(corrected.viewer, home, false, "signal " + std::to_string(number) + " under a box");
        EXPECT_EQ(home.readFile(recording), copy) << number;
    }
}

// Log-out, an X server that crashes, a remote display dropped: the display
// goes away under the viewer, which saves without it; an open question is
// answered No (nothing is printed).
TEST_F(RealDisplay, ALostDisplayEndsTheViewerThroughItsNormalExit) {
    for (const bool boxOpen : {false, true}) {
        if (boxOpen) server_ = std::make_unique<XServer>();
        ASSERT_FALSE(server_->display().empty()) << "Xvfb did not start";
        DemoHome home;
        const std::vector<uint8_t> before = home.readFile(home.recordingPath("holter.mem"));
        CorrectedViewer corrected(*this, home);
        ASSERT_TRUE(corrected.ready) << home.text("stderr.txt");
        const Point print = printButton();
        if (boxOpen) {
            ASSERT_TRUE(corrected.openBox("mousemove " + place(print.x, print.y) + " click 1"));
        }
        server_->end(SIGKILL);
        const std::string what = std::string("the lost display") + (boxOpen ? " under the print question" : "");
        expectTheNormalExit(corrected.viewer, home, true, what);
        EXPECT_NE(home.readFile(home.recordingPath("holter.mem")), before) << what;
        EXPECT_NE(home.text("stderr.txt").find("connection to the display"), std::string::npos)
            << home.text("stderr.txt");
    }
}

}  // namespace
}  // namespace lumen::testing
