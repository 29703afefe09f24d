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
#include <map>
#include <string>
#include <vector>

#include "analysis/beat_scorer.h"
#include "import/import_error.h"
#include "import/reference_beats.h"
#include "store/form_census.h"
#include "store/recording.h"

namespace lumen {
namespace {

constexpr double kSecondsPerQuarterTick = 1.0 / 200.0;

// The class a reviewer gives a beat of each reference class: fusion is
// counted with the ventricular ectopy, unclassifiable beats are artefacts.
BeatClass reviewerClass(ScoreClass c) {
    switch (c) {
    case ScoreClass::N: return BeatClass::Normal;
    case ScoreClass::S: return BeatClass::Supraventricular;
    case ScoreClass::V:
    case ScoreClass::F: return BeatClass::Ventricular;
    case ScoreClass::Q: return BeatClass::Artefact;
    }
    return BeatClass::Artefact;
}

// The reference class of the nearest reference beat within the match
// window; an artefact when there is none.
BeatClass truthOf(const std::vector<ScoreBeat>& reference, double seconds) {
    const auto after = std::lower_bound(reference.begin(), reference.end(), seconds,
                                        [](const ScoreBeat& b, double s) { return b.seconds < s; });
    const ScoreBeat* best = nullptr;
    for (auto it : {after, after == reference.begin() ? after : after - 1}) {
        if (it == reference.end()) continue;
        if (best == nullptr || std::abs(it->seconds - seconds) < std::abs(best->seconds - seconds)) best = &*it;
    }
    if (best == nullptr || std::abs(best->seconds - seconds) > BeatScore::kMatchWindowSeconds)
        return BeatClass::Artefact;
    return reviewerClass(best->kind);
}

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
    std::map<uint8_t, std::array<size_t, kBeatClassCount>> votes;
    std::vector<BeatClass> truth(words.size(), BeatClass::Artefact);
    for (size_t i = 0; i < words.size(); ++i) {
        if (!FormCensus::holdsBeat(words[i]) || words[i].formCode() == kNoFormCode) continue;
        truth[i] = truthOf(reference.beats, words[i].positionQuarterTicks() * kSecondsPerQuarterTick);
        ++votes[words[i].formCode()][static_cast<size_t>(truth[i])];
    }
    Review r;
    r.forms = votes.size();
    for (const auto& [form, byClass] : votes) {
        const auto majority = static_cast<BeatClass>(std::max_element(byClass.begin(), byClass.end()) - byClass.begin());
        const auto done = FormCensus::relabel(words, form, majority);
        if (done && done->relabelled > 0) ++r.relabels;
        r.pure += byClass[static_cast<size_t>(majority)];
        for (size_t n : byClass) r.beats += n;
    }
    static constexpr ScoreClass kScored[] = {ScoreClass::N, ScoreClass::S, ScoreClass::V, ScoreClass::Q};
    std::vector<ScoreBeat> tested;
    for (const BeatWord w : words)
        if (FormCensus::holdsBeat(w) && w.formCode() != kNoFormCode)
            tested.push_back({w.positionQuarterTicks() * kSecondsPerQuarterTick,
                              kScored[static_cast<size_t>(w.beatClass())]});
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
                BeatScore::percent(static_cast<int64_t>(pure), static_cast<int64_t>(beats)), gross.row("gross").c_str());
    return 0;
}
