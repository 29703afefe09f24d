#pragma once
#include <string>
#include <vector>

#include "import/source_recording.h"

namespace lumen {

// Recognises a source's format by its name and first bytes and opens it
// with the reader for that format.
class SourceOpener {
public:
    // A recording holds two channels: --channels names one or two.
    static constexpr size_t kMaxChannels = 2;

    static SourceRecording open(const std::string& source, const std::vector<std::string>& channels,
                                const std::string& annotations);
};

}  // namespace lumen
