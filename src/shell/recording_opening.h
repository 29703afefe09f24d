// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

#include "cache/recording_cache.h"
#include "platform/window/window_system.h"

namespace lumen {

// Opens a recording file as the viewer's home: imported into the user's
// recording cache (with a progress display) unless opened before, and put
// first in the list of recordings opened lately.
class RecordingOpening {
public:
    RecordingOpening(WindowSystem& system, bool showProgress);

    // The program home to view, or nothing and problem() says why.
    std::optional<std::string> open(const std::string& file);
    const std::string& problem() const { return problem_; }

    // The recordings opened lately, for the start screen.
    std::vector<RecentRecordings::Entry> recent() const;

private:
    WindowSystem& system_;
    bool showProgress_;
    std::optional<RecordingCache> cache_;
    std::string problem_;
};

}  // namespace lumen
