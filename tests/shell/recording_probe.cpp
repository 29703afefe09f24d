// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/recording_probe.h"

#include <cstdio>
#include <sstream>

#include "store/recording.h"

namespace lumen::testing {

std::vector<HolterEvent> holterEvents(const DemoHome& home, const std::string& row) {
    const std::string command = LUMEN_HOLTER_PATH " events --home " + home.programDirectory();
    std::vector<HolterEvent> events;
    std::istringstream lines(commandOutput(command));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line);
        HolterEvent event;
        in >> event.row >> event.position >> event.timeOfDay >> event.episode;
        if (event.row == row) events.push_back(event);
    }
    return events;
}

std::string statusRight(int32_t ordinal, int32_t count, int32_t timeOfDayTicks) {
    const int32_t t = timeOfDayTicks / 50;
    char text[100];
    std::snprintf(text, sizeof text, "%d/%d      Actual Time: %02d:%02d:%02d ", ordinal, count, (t / 3600) % 24,
                  (t / 60) % 60, t % 60);
    return text;
}

std::optional<BeatWord> beatInFile(const DemoHome& home, int64_t positionQuarterTicks) {
    Recording recording(home.programDirectory());
    recording.beats().load(recording);
    for (const BeatWord word : recording.beats().words()) {
        if (word.positionQuarterTicks() == positionQuarterTicks) return word;
    }
    return std::nullopt;
}

}  // namespace lumen::testing
