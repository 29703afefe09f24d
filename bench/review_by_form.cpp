// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated reviewer: on recordings analysed by `holter import
// --detect`, every whole form is given the reference class most of its
// beats have (a detection that matches no reference beat counts as an
// artefact), as a reviewer who corrects by form would; then the beats are
// scored beat by beat (ANSI/AAMI EC57). Prints per record the forms, the
// relabels it took, the form purity (the share of beats whose reference
// class is their form's majority class) and V and S after the review.
//
//   lumen_review_by_form HOME REFERENCE.atr [HOME REFERENCE.atr ...]
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/beat_scorer.h"
#include "import/import_error.h"
#include "import/reference_beats.h"
#include "store/form_census.h"
#include "store/recording.h"
#include "support/form_reviewer.h"

namespace lumen {
namespace {

constexpr double kSecondsPerQuarterTick = 1.0 / 200.0;

struct Review {
    size_t forms = 0;
    size_t relabels = 0;
    size_t pure = 0;
    size_t beats = 0;
    BeatScore score;
};

Review review(const std::string& home, const std::filesystem::path& atr) {
    Recording recording(home + "/");
    recording.beats().load(recording);
    const ReferenceBeats reference = ReferenceBeats::read(atr);
    auto words = recording.beats().words();
    Review r;
    for (const auto& [form, verdict] : testing::reviewForms(words, reference.beats)) {
        const auto done = FormCensus::relabel(words, form, verdict.referenceClass);
        if (done && done->relabelled > 0) ++r.relabels;
        r.pure += verdict.agreeing;
        r.beats += verdict.beats;
        ++r.forms;
    }
    static constexpr ScoreClass kScored[] = {ScoreClass::N, ScoreClass::S, ScoreClass::V, ScoreClass::Q};
    std::vector<ScoreBeat> tested;
    for (const BeatWord w : words)
        if (FormCensus::holdsBeat(w) && w.formCode() != kNoFormCode)
            tested.push_back(
                {w.positionQuarterTicks() * kSecondsPerQuarterTick, kScored[static_cast<size_t>(w.beatClass())]});
    r.score = BeatScore::compare(reference.beats, tested, BeatScore::kLearningSeconds, reference.flutter);
    return r;
}

}  // namespace
}  // namespace lumen

int main(int argc, char** argv) {
    using namespace lumen;
    if (argc < 3 || argc % 2 != 1) {
        std::fputs("usage: lumen_review_by_form HOME REFERENCE.atr [HOME REFERENCE.atr ...]\n", stderr);
        return 2;
    }
    std::printf("%-8s %6s %9s %8s  %s\n", "record", "forms", "relabels", "purity", BeatScore::header().c_str());
    BeatScore gross;
    size_t relabels = 0, pure = 0, beats = 0, records = 0;
    try {
        for (int i = 1; i + 1 < argc; i += 2) {
            const Review r = review(argv[i], argv[i + 1]);
            const std::string name = std::filesystem::path(argv[i + 1]).stem().string();
            std::printf("%-8s %6zu %9zu %7.2f%%  %s\n", name.c_str(), r.forms, r.relabels,
                        BeatScore::percent(static_cast<int64_t>(r.pure), static_cast<int64_t>(r.beats)),
                        r.score.row(name).c_str());
            gross.add(r.score);
            relabels += r.relabels;
            pure += r.pure;
            beats += r.beats;
            ++records;
        }
    } catch (const ImportError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 255;
    }
    std::printf("%-8s %6s %9.1f %7.2f%%  %s\n", "gross", "", static_cast<double>(relabels) / records,
                BeatScore::percent(static_cast<int64_t>(pure), static_cast<int64_t>(beats)),
                gross.row("gross").c_str());
    return 0;
}
