// SPDX-License-Identifier: GPL-3.0-or-later
// Atrial fibrillation from RR intervals: the edges of an irregular stretch,
// and the regular rhythms with ectopy that must not pass for it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/atrial_fibrillation_detector.h"
#include "assembly/episode_rules.h"

namespace lumen {
namespace {

// An episode edge lies within this of the true one: a window is half in
// the arrhythmia when it flips.
constexpr double kEdgeToleranceSeconds = 15.0;

enum class Rhythm { Sinus, Fibrillation, Bigeminy, FrequentPvcs, FrequentPacs, IrregularWithPWaves, VentricularRun };

// A deterministic stand-in for an irregular ventricular response.
class Irregular {
public:
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }

private:
    uint32_t state_ = 2024u;
};

// `count` beats of a rhythm after `beats`: sinus at 75/min with a slow
// respiratory swing, fibrillation with RR anywhere from 0.4 to 1.1 s.
void append(std::vector<RhythmBeat>& beats, Rhythm rhythm, int count, Irregular& random) {
    double t = beats.empty() ? 0.0 : beats.back().seconds;
    for (int i = 0; i < count; ++i) {
        const double sinusRr = 0.8 + 0.04 * std::sin(t * 2.0 * M_PI / 4.0);
        RhythmBeat b;
        double rr = sinusRr;
        if (rhythm == Rhythm::Fibrillation || rhythm == Rhythm::IrregularWithPWaves) rr = 0.4 + 0.7 * random.next();
        b.pWaveSeen = rhythm == Rhythm::IrregularWithPWaves;
        if (rhythm == Rhythm::VentricularRun) {
            rr = 0.6;
            b.conducted = false;
        }
        const bool ectopic = (rhythm == Rhythm::Bigeminy && i % 2 == 1) ||
                             (rhythm == Rhythm::FrequentPvcs && random.next() < 0.25) ||
                             (rhythm == Rhythm::FrequentPacs && random.next() < 0.25);
        if (ectopic && !beats.empty() && beats.back().conducted && !beats.back().supraventricular) {
            rr = 0.55 * sinusRr;  // premature, then a compensatory pause
            b.conducted = rhythm == Rhythm::FrequentPacs;
            b.supraventricular = rhythm == Rhythm::FrequentPacs;
        } else if (!beats.empty() && (!beats.back().conducted || beats.back().supraventricular)) {
            rr = 2.0 * sinusRr - (beats.back().seconds - beats[beats.size() - 2].seconds);
        }
        t += rr;
        b.seconds = t;
        beats.push_back(b);
    }
}

struct RhythmCase {
    const char* name;
    std::vector<std::pair<Rhythm, int>> segments;
    std::vector<std::pair<double, double>> fibrillation;  // expected episodes, seconds
};

void PrintTo(const RhythmCase& c, std::ostream* out) { *out << c.name; }

// Sinus 0-240 s, fibrillation of 800 beats (about 600 s), sinus again.
const RhythmCase kCases[] = {
    {"sinus_fibrillation_sinus",
     {{Rhythm::Sinus, 300}, {Rhythm::Fibrillation, 800}, {Rhythm::Sinus, 300}},
     {{240.0, -1.0}}},
    {"sinus", {{Rhythm::Sinus, 2000}}, {}},
    {"ventricular_bigeminy", {{Rhythm::Sinus, 100}, {Rhythm::Bigeminy, 1000}, {Rhythm::Sinus, 100}}, {}},
    {"frequent_pvcs", {{Rhythm::FrequentPvcs, 2000}}, {}},
    {"frequent_pacs", {{Rhythm::FrequentPacs, 2000}}, {}},
    // 45 s of ventricular tachycardia inside fibrillation decide nothing.
    {"fibrillation_around_ventricular_run",
     {{Rhythm::Sinus, 300},
      {Rhythm::Fibrillation, 400},
      {Rhythm::VentricularRun, 75},
      {Rhythm::Fibrillation, 400},
      {Rhythm::Sinus, 300}},
     {{240.0, -1.0}}},
    // Atrial premature beats the labels missed, with their P waves seen.
    {"irregular_with_p_waves", {{Rhythm::Sinus, 300}, {Rhythm::IrregularWithPWaves, 800}, {Rhythm::Sinus, 300}}, {}},
};

class FibrillationDetection : public ::testing::TestWithParam<RhythmCase> {};

TEST_P(FibrillationDetection, FindsTheIrregularStretchAndNothingElse) {
    const RhythmCase& c = GetParam();
    std::vector<RhythmBeat> beats;
    Irregular random;
    double fibrillationEnd = 0.0;
    for (const auto& [rhythm, count] : c.segments) {
        append(beats, rhythm, count, random);
        if (rhythm == Rhythm::Fibrillation) fibrillationEnd = beats.back().seconds;
    }
    const std::vector<BeatRange> found = AtrialFibrillationDetector::detect(beats);
    ASSERT_EQ(found.size(), c.fibrillation.size());
    for (size_t i = 0; i < found.size(); ++i) {
        const double end = c.fibrillation[i].second < 0 ? fibrillationEnd : c.fibrillation[i].second;
        EXPECT_NEAR(beats[found[i].first].seconds, c.fibrillation[i].first, kEdgeToleranceSeconds);
        EXPECT_NEAR(beats[found[i].last].seconds, end, kEdgeToleranceSeconds);
    }
}

INSTANTIATE_TEST_SUITE_P(Rhythms, FibrillationDetection, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Beats first..last called supraventricular, as the analysis calls beats
// of an irregular rhythm; the others normal.
std::vector<PlannedBeat> plannedBeats(const std::vector<RhythmBeat>& rhythm, size_t first, size_t last) {
    std::vector<PlannedBeat> out;
    for (size_t i = 0; i < rhythm.size(); ++i) {
        PlannedBeat p;
        p.positionQuarterTicks = static_cast<int32_t>(std::lround(rhythm[i].seconds * 200.0)) + 1;
        p.beatClass = i >= first && i <= last ? kClassSupraventricular : kClassNormal;
        out.push_back(p);
    }
    return out;
}

// Within fibrillation every beat the analysis called supraventricular is
// part of the rhythm: no supraventricular episode there, and the
// fibrillation episode comes after the others.
TEST(FibrillationEpisodes, HoldNoSupraventricularEpisodesAndComeLast) {
    std::vector<RhythmBeat> rhythm;
    Irregular random;
    append(rhythm, Rhythm::Sinus, 100, random);
    append(rhythm, Rhythm::Fibrillation, 400, random);
    append(rhythm, Rhythm::Sinus, 100, random);
    std::vector<PlannedBeat> beats = plannedBeats(rhythm, 100, 499);
    const std::vector<PlannedEpisode> fibrillation = EpisodeRules::detectFibrillation(beats, false);
    ASSERT_EQ(fibrillation.size(), 1u);
    EpisodeRules::relabelInsideFibrillation(beats, fibrillation);
    const std::vector<PlannedEpisode> episodes = EpisodeRules::derive(beats, fibrillation);
    ASSERT_FALSE(episodes.empty());
    EXPECT_EQ(episodes.back().code, EpisodeRules::kAtrialFibrillation);
    for (const PlannedEpisode& e : episodes) {
        if (e.code == EpisodeRules::kAtrialFibrillation) continue;
        EXPECT_TRUE(e.lastBeat < fibrillation[0].firstBeat || e.firstBeat > fibrillation[0].lastBeat)
            << "code " << int{e.code} << " inside fibrillation";
    }
    // A re-derivation of the corrected beats finds the fibrillation again.
    EXPECT_EQ(EpisodeRules::deriveWithRhythm(beats).back().code, EpisodeRules::kAtrialFibrillation);
}

}  // namespace
}  // namespace lumen
