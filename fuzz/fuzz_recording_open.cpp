// SPDX-License-Identifier: GPL-3.0-or-later
// holter.mem as the input: the viewer's start-up reads of the recording
// (beats, trend tables, every event into the event catalog, the beat
// statistics, the patient line and amplitude) and a walk through the rows.
#include <cstddef>
#include <cstdint>
#include <span>

#include "events/event_catalog.h"
#include "fuzz_home.h"
#include "harness_fatal_handler.h"
#include "lang/beat_statistics_text.h"
#include "lang/code_page.h"
#include "lang/language_texts.h"
#include "store/event_feed.h"
#include "store/trend_table.h"

namespace lumen::fuzz {
namespace {

constexpr int32_t kStatisticsText = 2;
constexpr int32_t kStepsPerRow = 24;
constexpr int32_t kRows = 19;

void walkRows(EventCatalog& catalog) {
    for (int32_t row = 0; row < kRows; ++row) {
        catalog.selectAt(catalog.cursorTime(), row);
        for (int32_t step = 0; step < kStepsPerRow && catalog.nextEvent(); ++step) {
            (void)catalog.selectedOrdinal();
            (void)catalog.cursorPosition();
        }
        (void)catalog.previousEvent();
        (void)catalog.selectedCount();
        (void)catalog.canRemove();
    }
}

void readPatient(Recording& recording) {
    const std::string line = recording.readPatientLine();
    for (const CodePage page : {CodePage::Windows1250, CodePage::Windows1251, CodePage::Windows1252}) {
        (void)decodeToUtf8(line, page);
    }
    (void)recording.amplitudeCode();
}

void openRecording(std::span<const uint8_t> input) {
    if (FuzzHome::reachesFarPastEnd(input)) return;
    FuzzHome::writeRecording(input);
    const auto recording = FuzzHome::open();
    recording->beats().load(*recording);
    TrendTable trends;
    trends.load(*recording);
    BeatList& beats = recording->beats();
    const BeatCounts& counts = beats.count();

    LanguageTexts texts;
    EventCatalog catalog(texts);
    feedEvents(*recording, trends, catalog);
    walkRows(catalog);

    for (const int32_t language : {1, 2, 3, 11}) {
        const LanguageTexts local(language);
        (void)beatStatisticsText(local.text(kStatisticsText), counts);
    }
    readPatient(*recording);
    (void)recording->blockClock(recording->blockCount());
}

}  // namespace
}  // namespace lumen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    lumen::fuzz::runGuarded([&] { lumen::fuzz::openRecording(input); });
    return 0;
}
