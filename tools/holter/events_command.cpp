// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/events_command.h"

#include <cstdio>
#include <string>

#include "holter/fed_recording.h"

namespace lumen {

int runEvents(const ToolArguments& arguments) {
    const auto fed = feedRecording(arguments);
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    for (int32_t row = 0; row < kCategoryRowCount + 1; ++row) {
        std::string name(fed->rowName(row));
        for (char& c : name) {
            if (c == ' ') c = '_';
        }
        for (const EventNode& event : fed->catalog->category(row)->events()) {
            std::printf("%s %d %d %d\n", name.c_str(), event.positionTicks, event.timeOfDayTicks, event.episodeIndex);
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace lumen
