// SPDX-License-Identifier: GPL-3.0-or-later
// Correcting the analysis of a 24-hour recording: relabel a beat, declare an
// event artefact, exclude a heart-rate and an ST extreme; after the exit
// holter.mem holds every correction and nothing else has changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "acceptance/day_home.h"
#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

struct Section {
    size_t offset = 0;
    size_t length = 0;
};

uint32_t littleEndian(const std::vector<uint8_t>& bytes, size_t at, int width) {
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value * 256 + bytes.at(at + static_cast<size_t>(i));
    return value;
}

// The directory entry of a section id: 24-bit length at +6, offset at +9.
Section sectionOf(const std::vector<uint8_t>& bytes, uint8_t id) {
    for (size_t i = 0; i < bytes.at(0); ++i) {
        const size_t entry = 1 + 16 * i;
        if (bytes.at(entry) == id) return Section{littleEndian(bytes, entry + 9, 3), littleEndian(bytes, entry + 6, 3)};
    }
    return {};
}

bool inside(size_t at, Section section) { return at >= section.offset && at < section.offset + section.length; }

TEST(AcceptanceCorrecting, EveryCorrectionReachesTheFileAndNothingElseChanges) {
    DayHome home;
    home.write("doef.mem", "0 0 103 2 2\n");  // VISO
    const std::vector<uint8_t> before = home.recordingBytes();
    const std::vector<HolterEvent> couplets = holterEvents(home, "VCPL");
    const SteppedRun run = runSteps(home, {"",                          // 0: the first VISO
                                           "button 2001",               // 1: its V beat becomes N
                                           "key Down",                  // 2: a couplet
                                           "key Delete",                // 3: ... is artefact
                                           scriptLines("key Down", 9),  // 4: HRmin
                                           "key Delete",                // 5: excluded
                                           "key Down\nkey Down",        // 6: STmin
                                           "key Delete"});              // 7: excluded
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    const std::vector<std::string>& d = run.dumps;

    // The relabelled beat.
    const int64_t beat = dumpNumber(d[0], "strip", "selectedBeatPosition");
    EXPECT_EQ(dumpNumber(d[0], "strip", "selectedClass"), 3);
    EXPECT_EQ(dumpNumber(d[1], "strip", "selectedClass"), 1);
    // The couplet that became artefact.
    const int64_t coupletPosition = catalogNumber(d[2], "cursorPosition");
    const auto couplet = std::find_if(couplets.begin(), couplets.end(),
                                      [&](const HolterEvent& e) { return e.position == coupletPosition; });
    ASSERT_NE(couplet, couplets.end());
    // The excluded extremes: each row found another one, a minute away at least.
    ASSERT_EQ(catalogNumber(d[4], "selectedRow"), 10);
    ASSERT_EQ(catalogNumber(d[6], "selectedRow"), 12);
    const int64_t heartRateBlock = catalogNumber(d[4], "cursorPosition") / 500;
    const int64_t stBlock = catalogNumber(d[6], "cursorPosition") / 500;
    EXPECT_GT(std::abs(catalogNumber(d[5], "cursorPosition") / 500 - heartRateBlock), 2);
    EXPECT_GT(std::abs(catalogNumber(d[7], "cursorPosition") / 500 - stBlock), 2);
    double millivolts = 0;
    int stChannel = 0;
    ASSERT_EQ(std::sscanf(unquoted(dumpValue(d[6], "status", "left")).c_str(),
                          "  STmin - ST minimum : %lf mV found on channel %d", &millivolts, &stChannel),
              2);
    EXPECT_EQ(catalogNumber(d[7], "extremesValid"), 1);
    const int64_t edits = dumpNumber(d[7], "labelChangeCount");
    EXPECT_GE(edits, 1);

    const std::vector<uint8_t> after = home.recordingBytes();
    ASSERT_EQ(after.size(), before.size());
    const Section beats = sectionOf(before, 21);
    const Section episodes = sectionOf(before, 19);
    const Section flags = sectionOf(before, 9);
    const Section trends[] = {sectionOf(before, 2), sectionOf(before, 3), sectionOf(before, 5), flags};
    const size_t coupletCode = episodes.offset + 12 * static_cast<size_t>(couplet->episode) + 10;
    ASSERT_GT(beats.length, 0u);
    // Nothing else: only beat words, the couplet's code, the trends and the counter.
    for (size_t at = 0; at < before.size(); ++at) {
        if (before[at] == after[at] || inside(at, beats) || at == coupletCode || (at >= 516 && at < 520)) continue;
        bool trend = false;
        for (const Section& section : trends) trend = trend || inside(at, section);
        ASSERT_TRUE(trend) << "byte " << at << " changed: " << int(before[at]) << " -> " << int(after[at]);
    }
    EXPECT_EQ(after[coupletCode], 59);
    EXPECT_EQ(littleEndian(after, 516, 4), littleEndian(before, 516, 4) + static_cast<uint32_t>(edits));

    // Beat words: positions kept; the relabelled beat is N, the couplet's beats artefact.
    const int64_t coupletEnd = 5 * static_cast<int64_t>(littleEndian(before, coupletCode - 10 + 7, 3));
    int artefacts = 0;
    for (size_t at = beats.offset; at + 4 <= beats.offset + beats.length; at += 4) {
        const BeatWord old{littleEndian(before, at, 4)};
        const BeatWord now{littleEndian(after, at, 4)};
        if (old.raw == now.raw) continue;
        ASSERT_EQ(now.positionQuarterTicks(), old.positionQuarterTicks());
        if (old.positionQuarterTicks() == beat) {
            EXPECT_EQ(now.beatClass(), BeatClass::Normal);
            continue;
        }
        EXPECT_EQ(now.beatClass(), BeatClass::Artefact) << "at " << old.positionQuarterTicks();
        EXPECT_GE(old.sample(), coupletPosition);
        EXPECT_LE(old.sample(), coupletEnd);
        ++artefacts;
    }
    EXPECT_EQ(artefacts, 2) << "the two beats of the couplet";

    // The excluded minutes carry their bits: heart-rate minimum 1, ST minimum 4 or 16.
    const uint8_t stBit = stChannel == 1 ? 4 : 16;
    for (int64_t k = -3; k <= 2; ++k) {
        EXPECT_TRUE(after[flags.offset + static_cast<size_t>(heartRateBlock + k)] & 1) << k;
        EXPECT_TRUE(after[flags.offset + static_cast<size_t>(stBlock + k)] & stBit) << k;
    }
    EXPECT_EQ(home.text("dore.mem"), std::to_string(dumpNumber(d[7], "labelChangeState")));
}

}  // namespace
}  // namespace lumen::testing
