// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace lumen {

// The beat classes of ANSI/AAMI EC57. A tested beat is N, S, V or Q
// (artefact); a reference beat may also be F (fusion).
enum class ScoreClass : uint8_t { N, S, V, F, Q };
inline constexpr int kScoreClasses = 5;

struct ScoreBeat {
    double seconds = 0.0;
    ScoreClass kind = ScoreClass::N;
};

// A stretch of the record left out of the comparison, in seconds, end
// excluded: ventricular flutter or fibrillation, where there are no beats.
struct ScoreStretch {
    double fromSeconds = 0.0;
    double toSeconds = 0.0;
};

// Beat-by-beat comparison: a tested beat within 150 ms of a reference beat
// matches it (closest pairs first); the counts by reference class (rows)
// and tested class (columns), with a last row for tested beats that match
// nothing and a last column for reference beats that nothing matched.
struct BeatScore {
    std::array<std::array<int64_t, kScoreClasses + 1>, kScoreClasses + 1> counts{};

    static constexpr double kMatchWindowSeconds = 0.15;
    static constexpr double kLearningSeconds = 300.0;  // not scored: the analysis learns

    // Beats before `fromSeconds` or inside an `excluded` stretch (in time
    // order) are left out of both lists.
    static BeatScore compare(std::span<const ScoreBeat> reference, std::span<const ScoreBeat> tested,
                             double fromSeconds, std::span<const ScoreStretch> excluded = {});
    void add(const BeatScore& other);

    int64_t matched() const;
    int64_t missed() const;  // reference beats nothing matched
    int64_t extra() const;   // tested beats that match nothing
    // Sensitivity and positive predictivity of a class (V or S), percent;
    // tested beats of the class on reference F or Q beats count neither way.
    int64_t classTruePositives(ScoreClass c) const { return at(c, c); }
    int64_t classReference(ScoreClass c) const;
    int64_t classTested(ScoreClass c) const;

    static double percent(int64_t part, int64_t whole) { return whole == 0 ? 100.0 : 100.0 * part / whole; }
    // One table row: name, beats, QRS Se/+P, V Se/+P, S Se/+P.
    std::string row(const std::string& name) const;
    static std::string header();

private:
    int64_t at(ScoreClass r, ScoreClass t) const { return counts[static_cast<size_t>(r)][static_cast<size_t>(t)]; }
};

}  // namespace lumen
