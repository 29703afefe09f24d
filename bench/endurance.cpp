// SPDX-License-Identifier: GPL-3.0-or-later
// lumen_endurance HOME [PASSES]: the automatic stepper through every event
// of every row, PASSES times over (default 10), in one headless session of
// the viewer on HOME. After each pass it prints the resident memory, the
// open file descriptors and the window system's objects; at the end the
// growth from the first pass to the last, which must stay within 1 MB and
// zero objects. Exit status 0 when flat, 1 when something grew.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "events/event_catalog.h"
#include "lang/language_texts.h"
#include "platform/headless/headless_driver.h"
#include "platform/window/virtual_keys.h"
#include "platform/window/window_system.h"
#include "shell/viewer.h"
#include "store/event_feed.h"
#include "store/recording.h"
#include "store/trend_table.h"

namespace {

constexpr int32_t kEventRows = 18;
constexpr uint32_t kAutoStepButton = 1000;
constexpr uint64_t kStepMs = 100;
constexpr long kFlatLimitKb = 1024;

struct Sample {
    long residentKb = 0;
    size_t descriptors = 0;
    lumen::WindowSystem::ObjectCounts objects;
};

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

size_t openDescriptors() {
    std::error_code error;
    size_t count = 0;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error); !error && it != std::filesystem::directory_iterator();
         it.increment(error)) {
        ++count;
    }
    return count;
}

std::vector<int32_t> eventsPerRow(const std::string& home) {
    lumen::Recording recording(home);
    recording.beats().load(recording);
    lumen::TrendTable trends;
    trends.load(recording);
    const lumen::LanguageTexts texts;
    lumen::EventCatalog catalog(texts);
    lumen::feedEvents(recording, trends, catalog);
    std::vector<int32_t> counts;
    for (int32_t row = 0; row < kEventRows; ++row) counts.push_back(catalog.row(row).count());
    return counts;
}

lumen::ScriptAction key(uint32_t virtualKey) {
    lumen::ScriptAction action;
    action.verb = lumen::ScriptVerb::Key;
    action.virtualKey = virtualKey;
    return action;
}

// Each row from its first event to its last under the stepper; back to the
// first row for the next pass. A dump closes every pass.
std::vector<lumen::ScriptAction> passes(const std::vector<int32_t>& counts, int passCount) {
    std::vector<lumen::ScriptAction> actions;
    for (int pass = 1; pass <= passCount; ++pass) {
        for (int32_t row = 0; row < kEventRows; ++row) {
            if (row > 0) actions.push_back(key(VK_DOWN));
            for (int32_t i = 1; i < counts[static_cast<size_t>(row)]; ++i) actions.push_back(key(VK_LEFT));
            lumen::ScriptAction start;
            start.verb = lumen::ScriptVerb::Button;
            start.number = kAutoStepButton;
            actions.push_back(start);
            lumen::ScriptAction wait;
            wait.verb = lumen::ScriptVerb::Wait;
            wait.milliseconds = kStepMs * static_cast<uint64_t>(counts[static_cast<size_t>(row)] + 1);
            actions.push_back(wait);
        }
        for (int32_t row = 1; row < kEventRows; ++row) actions.push_back(key(VK_UP));
        lumen::ScriptAction dump;
        dump.verb = lumen::ScriptVerb::Dump;
        dump.path = std::to_string(pass);
        actions.push_back(dump);
    }
    return actions;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumen_endurance HOME [PASSES]\n");
        return 2;
    }
    std::string home = argv[1];
    if (home.back() != '/') home += '/';
    const int passCount = argc > 2 ? std::atoi(argv[2]) : 10;
    const std::vector<int32_t> counts = eventsPerRow(home);
    int32_t eventsPerPass = 0;
    for (const int32_t count : counts) eventsPerPass += count;
    // The hand-over file puts the session on the first row.
    std::ofstream(home + "doef.mem") << "0 0 103 2 2\n";

    const std::vector<lumen::ScriptAction> actions = passes(counts, passCount);
    lumen::HeadlessDriver driver(lumen::Size{1024, 768}, actions);
    lumen::WindowSystem system(driver);
    lumen::Viewer viewer(system, nullptr);
    std::vector<Sample> samples;
    driver.setDumpHandler([&](const std::string& pass) {
        samples.push_back(Sample{residentKb(), openDescriptors(), system.objectCounts()});
        const Sample& now = samples.back();
        std::printf("pass %2s  %d events  resident %ld kB  descriptors %zu  windows %zu  timers %zu  cursors %zu\n",
                    pass.c_str(), eventsPerPass, now.residentKb, now.descriptors, now.objects.windows,
                    now.objects.timers, now.objects.cursors);
        if (samples.size() == static_cast<size_t>(passCount)) {
            const Sample& first = samples.front();
            const long growthKb = now.residentKb - first.residentKb;
            const bool flat = growthKb <= kFlatLimitKb && now.descriptors == first.descriptors &&
                              now.objects.windows == first.objects.windows && now.objects.timers == first.objects.timers &&
                              now.objects.cursors == first.objects.cursors;
            std::printf("growth from pass 1 to pass %d: resident %+ld kB, descriptors %+ld, windows %+ld: %s\n", passCount,
                        growthKb, static_cast<long>(now.descriptors) - static_cast<long>(first.descriptors),
                        static_cast<long>(now.objects.windows) - static_cast<long>(first.objects.windows),
                        flat ? "flat" : "GROWING");
            std::fflush(stdout);
            // The viewer's own exit ends the process; the verdict must not wait for it.
            std::_Exit(flat ? 0 : 1);
        }
        std::fflush(stdout);
        return true;
    });
    lumen::ViewerStart start;
    start.programDirectory = home;
    start.programFile = argv[0];
    viewer.run(start);
    return 1;
}
