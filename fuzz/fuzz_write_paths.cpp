// SPDX-License-Identifier: GPL-3.0-or-later
// holter.mem as the input, opened as the viewer opens it, then saved the
// way the exit and an event removal save: without a correction the file
// keeps every byte; with corrections nothing crashes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "fuzz_home.h"
#include "harness_fatal_handler.h"
#include "store/event_feed.h"
#include "store/event_sink.h"
#include "store/trend_table.h"

namespace lumen::fuzz {
namespace {

class IgnoringSink final : public EventSink {
public:
    void dispatchCode(uint8_t, int32_t, int32_t, int32_t) override {}
    void dispatchCodeSorted(uint8_t, int32_t, int32_t, int32_t) override {}
    void setRecordingSpan(int32_t, int32_t) override {}
};

bool saveAtExit(Recording& recording, TrendTable& trends, uint32_t edits) {
    RecordingFile& file = recording.file();
    file.beginUpdate();
    bool saved = trends.save(recording);
    saved = recording.addToEditCounter(edits) && saved;
    return file.commitUpdate() && saved;
}

void openAndSave(std::span<const uint8_t> input) {
    if (input.empty() || FuzzHome::reachesFarPastEnd(input.subspan(1))) return;
    const bool correct = (input[0] & 1) != 0;
    const std::span<const uint8_t> bytes = input.subspan(1);
    FuzzHome::writeRecording(bytes);
    {
        const auto recording = FuzzHome::open(RecordingAccess::Session);
        recording->beats().load(*recording);
        TrendTable trends;
        trends.load(*recording);
        IgnoringSink sink;
        feedEvents(*recording, trends, sink);
        if (correct) {
            for (const uint8_t code : {kHeartRateMinimumCode, kStMaximumCode}) trends.excludeExtreme(code, sink, 500);
            (void)deleteEpisode(*recording, trends, sink, 33, 0, 0);
            for (BeatWord& word : recording->beats().words()) word = BeatWord::make(word.positionQuarterTicks(), BeatClass::Ventricular, word.formCode());
        }
        (void)saveAtExit(*recording, trends, correct ? 3 : 0);
    }
    if (!correct && FuzzHome::recordingOnDisk() != std::vector<uint8_t>(bytes.begin(), bytes.end())) std::abort();
}

}  // namespace
}  // namespace lumen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    lumen::fuzz::runGuarded([&] { lumen::fuzz::openAndSave(input); });
    return 0;
}
