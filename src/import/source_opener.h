// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "import/channel_list.h"
#include "import/source_recording.h"

namespace lumen {

// Recognises a source's format by its name and first bytes and opens it
// with the reader for that format.
class SourceOpener {
public:
    // A recording holds two channels: --channels names one or two.
    static constexpr size_t kMaxChannels = ChannelList::kMaxNames;

    // The file that messages about `source` name: a WFDB record's header.
    static std::string fileNamed(const std::string& source);
    static SourceRecording open(const std::string& source, const std::vector<std::string>& channels,
                                const std::string& annotations);
};

}  // namespace lumen
