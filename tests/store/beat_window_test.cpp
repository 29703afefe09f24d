// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/beat_window.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "store/recording.h"
#include "support/annotated_home.h"

namespace lumen {
namespace {

using testing::AnnotatedHome;

uint32_t quarter(int32_t sample) { return static_cast<uint32_t>(sample) * 4; }

struct Window {
    std::vector<uint8_t> labels = std::vector<uint8_t>(6000, 0);
    std::vector<uint32_t> first = std::vector<uint32_t>(3000, 0);
    std::vector<uint32_t> second = std::vector<uint32_t>(3000, 0);
    std::vector<uint32_t> positions;
    BeatWindowArrays arrays{labels, first, second, positions};
};

TEST(BeatWindow, PlacesBeatsOnTheirSamplesWithOrdinalsSplitAtHalfTheWindow) {
    AnnotatedHome h;
    h.beats = {BeatWord::make(quarter(400), BeatClass::Normal, 0),  // before the window
               BeatWord::make(quarter(510), BeatClass::Normal, 0),
               BeatWord::make(quarter(510) + 2, BeatClass::Ventricular, 3),  // same sample
               BeatWord::make(quarter(600), BeatClass::Normal, 30).withLabel(kNoBeatLabel),
               BeatWord::make(quarter(500 + 2999), BeatClass::Supraventricular, 1),
               BeatWord::make(quarter(500 + 3000), BeatClass::Normal, 0),
               BeatWord::make(quarter(500 + 7000), BeatClass::Normal, 0)};
    h.save();
    Recording recording(h.home.programDirectory());
    recording.beats().load(recording);
    Window w;
    EXPECT_EQ(windowBeats(recording, w.arrays, 1, WriteBack::PreviousWindowFirst, WindowLength::Full),
              ChangeKind::None);
    // (sample, label, ordinal in the first half)
    for (const auto& [sample, label, ordinal] : {std::tuple{10, 0, 1u},
                                                 {11, 3 * 4 + 2, 2u},
                                                 {12, kNoBeatLabel, 0u},
                                                 {100, kNoBeatLabel, 0u},
                                                 {2999, 1 * 4 + 1, 3u}}) {
        EXPECT_EQ(w.labels[sample], label) << sample;
        EXPECT_EQ(w.first[sample], ordinal) << sample;
    }
    EXPECT_EQ(w.second[0], 4u);
    EXPECT_EQ(w.labels[5999], kNoBeatLabel);
    EXPECT_EQ(w.positions, (std::vector<uint32_t>{0, quarter(510), quarter(510) + 2, quarter(3499), quarter(3500)}));
    EXPECT_EQ(recording.beatWindow.firstBeatIndex, 1);
}

TEST(BeatWindow, ShortWindowKeepsEveryOrdinalInTheFirstArray) {
    AnnotatedHome h;
    h.beats = {BeatWord::make(quarter(1400), BeatClass::Normal, 0)};
    h.save();
    Recording recording(h.home.programDirectory());
    recording.beats().load(recording);
    Window w;
    windowBeats(recording, w.arrays, 0, WriteBack::Skip, WindowLength::Short);
    EXPECT_EQ(w.first[1400], 1u);
    EXPECT_EQ(w.second[1400 - 750], 0u);
}

TEST(BeatWindow, BuildingTheNextWindowWritesBackTheEditsOfThePreviousOne) {
    AnnotatedHome h;
    h.beats = {BeatWord::make(quarter(100), BeatClass::Normal, 0),
               BeatWord::make(quarter(200), BeatClass::Ventricular, 2),
               BeatWord::make(quarter(300), BeatClass::Ventricular, 2)};
    h.save();
    Recording recording(h.home.programDirectory());
    recording.beats().load(recording);
    Window w;
    windowBeats(recording, w.arrays, 0, WriteBack::PreviousWindowFirst, WindowLength::Full);
    w.labels[100] = 0 * 4 + 2;  // normal -> ventricular
    w.labels[200] = 2 * 4 + 1;  // ventricular -> supraventricular
    EXPECT_EQ(windowBeats(recording, w.arrays, 0, WriteBack::PreviousWindowFirst, WindowLength::Full),
              ChangeKind::NormalityChanged);
    EXPECT_EQ(recording.beats()[0].beatClass(), BeatClass::Ventricular);
    EXPECT_EQ(recording.beats()[1].beatClass(), BeatClass::Supraventricular);
    EXPECT_EQ(recording.beats()[2].beatClass(), BeatClass::Ventricular);

    w.labels[300] = 2 * 4 + 1;
    EXPECT_EQ(writeBackWindow(recording, w.labels, WindowLength::Full), ChangeKind::OtherChange);
    EXPECT_EQ(writeBackWindow(recording, w.labels, WindowLength::Full), ChangeKind::None);
}

TEST(BeatWindow, OverlappingEpisodesMarkOnlyPastTheEarlierEnd) {
    AnnotatedHome h;
    // Tenths of a second: samples are five times as many.
    h.episodes = {AnnotatedHome::episode(33, 100, 120), AnnotatedHome::episode(50, 110, 140),
                  AnnotatedHome::episode(52, 50, 60), AnnotatedHome::episode(84, 200, 201)};
    h.save();
    Recording recording(h.home.programDirectory());
    std::vector<uint8_t> pens(1500, 9), raw(1500, 9);
    windowEpisodes(recording, pens, 0, WindowLength::Short, EpisodeMarks::PenIndex);
    windowEpisodes(recording, raw, 0, WindowLength::Short, EpisodeMarks::RawCode);
    // The episode at 250 lies before the cursor after the first two.
    for (const auto& [sample, pen] :
         {std::pair{499, 0}, {500, 1}, {600, 1}, {601, 2}, {700, 2}, {701, 0}, {250, 0}, {1000, 0}})
        EXPECT_EQ(pens[sample], pen) << sample;
    for (const auto& [sample, code] : {std::pair{600, 33}, {601, 50}, {1000, 84}})
        EXPECT_EQ(raw[sample], code) << sample;
}

TEST(BeatWindow, MarkersBeforeTheWindowAreSkippedAndSharedSamplesSpill) {
    AnnotatedHome h;
    h.markerTenths = {10, 120, 120, 130};
    h.save();
    Recording recording(h.home.programDirectory());
    std::vector<uint8_t> marks(1500, 9);
    windowMarkers(recording, marks, 1, WindowLength::Short);
    EXPECT_EQ(std::count(marks.begin(), marks.end(), 1), 3);
    for (const auto& [sample, mark] : {std::pair{100, 1}, {101, 1}, {150, 1}, {0, 0}})
        EXPECT_EQ(marks[sample], mark) << sample;
}

}  // namespace
}  // namespace lumen
