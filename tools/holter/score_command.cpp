// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/score_command.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/beat_scorer.h"
#include "import/import_error.h"
#include "import/reference_beats.h"
#include "platform/file/utf8_path.h"
#include "store/beat_word.h"
#include "store/recording.h"

namespace lumen {
namespace {

constexpr int kFailure = 255;
constexpr double kSecondsPerQuarterTick = 1.0 / 200.0;

std::vector<ScoreBeat> testedBeats(Recording& recording) {
    static constexpr ScoreClass kByClass[] = {ScoreClass::N, ScoreClass::S, ScoreClass::V, ScoreClass::Q};
    recording.beats().load(recording);
    std::vector<ScoreBeat> beats;
    for (const BeatWord w : recording.beats().words()) {
        if (w.positionQuarterTicks() == 0 || w.formCode() == kNoFormCode) continue;
        beats.push_back(
            {w.positionQuarterTicks() * kSecondsPerQuarterTick, kByClass[static_cast<size_t>(w.beatClass()) & 3]});
    }
    return beats;
}

// A folder with path.tmp is a program home; any other folder a recording
// folder of the --home program.
std::unique_ptr<Recording> openTested(const ToolArguments& arguments, const std::string* folder) {
    if (folder == nullptr) return std::make_unique<Recording>(arguments.programDirectory);
    if (std::filesystem::exists(pathFromUtf8(*folder) / "path.tmp")) return std::make_unique<Recording>(*folder + "/");
    return std::make_unique<Recording>(arguments.programDirectory, *folder);
}

}  // namespace

int runScore(const ToolArguments& arguments) {
    const auto& words = arguments.positional;
    if (words.empty() || (words.size() > 1 && words.size() % 2 != 0)) return 2;
    double fromSeconds = BeatScore::kLearningSeconds;
    if (const auto text = arguments.option("--from")) {
        const auto number = parseInteger(*text);
        if (!number || *number < 0) return 2;
        fromSeconds = static_cast<double>(*number);
    }
    try {
        BeatScore gross;
        std::printf("%s\n", BeatScore::header().c_str());
        for (size_t i = 0; i < std::max<size_t>(1, words.size() / 2); ++i) {
            const std::string& reference = words.size() == 1 ? words[0] : words[2 * i + 1];
            const auto recording = openTested(arguments, words.size() == 1 ? nullptr : &words[2 * i]);
            const ReferenceBeats r = ReferenceBeats::read(pathFromUtf8(reference));
            const BeatScore score = BeatScore::compare(r.beats, testedBeats(*recording), fromSeconds, r.flutter);
            gross.add(score);
            std::printf("%s\n", score.row(utf8FromPath(pathFromUtf8(reference).stem())).c_str());
        }
        if (words.size() > 2) std::printf("%s\n", gross.row("gross").c_str());
        return 0;
    } catch (const ImportError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return kFailure;
    }
}

}  // namespace lumen
