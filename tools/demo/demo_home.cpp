// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/demo_home.h"

#include <sstream>

#include "demo/demo_recording.h"
#include "assembly/episode_rules.h"
#include "assembly/home_files.h"
#include "assembly/home_swap.h"

namespace lumen {
namespace {

constexpr int32_t kVentricularTachycardiaStart = 108;

std::string summaryOf(const RecordingImage& r, const std::string& home) {
    size_t byClass[kBeatClassCount] = {};
    size_t leadOff = 0;
    for (const PlannedBeat& b : r.plan.beats) {
        if (b.formCode == kFormNone)
            ++leadOff;
        else
            ++byClass[b.beatClass];
    }
    std::ostringstream s;
    const Clock& c = r.plan.start;
    s << "demo home " << home << ": " << r.plan.hours << " h from " << (c.hour < 10 ? "0" : "") << int{c.hour} << ':'
      << (c.minute < 10 ? "0" : "") << int{c.minute} << ':' << (c.second < 10 ? "0" : "") << int{c.second} << ", "
      << r.plan.blockCount() << " blocks, " << r.plan.beats.size() << " beats (N " << byClass[0] << ", S " << byClass[1]
      << ", V " << byClass[2] << ", A " << byClass[3] << ", lead off " << leadOff << "), " << r.plan.episodes.size()
      << " episodes, " << r.plan.markerTenths.size() << " markers, holter.mem " << r.holterMem.size() << " bytes";
    return s.str();
}

int32_t startPosition(const RhythmPlan& plan, int32_t& startEventCode) {
    for (const PlannedEpisode& e : plan.episodes) {
        if (e.code != EpisodeRules::kVentricularTachycardia) continue;
        startEventCode = kVentricularTachycardiaStart;
        return e.startTenths * 5;
    }
    startEventCode = kTimeScaleStartEventCode;
    return 0;
}

}  // namespace

DemoResult writeDemoHome(const DemoOptions& options) {
    if (options.hours < 1 || options.hours > 24) return {DemoStatus::InvalidHours, "hours must be 1 to 24", {}};
    if (!HomeFiles::validLanguage(options.language))
        return {DemoStatus::InvalidLanguage, HomeFiles::languageProblem(std::to_string(options.language)), {}};
    HomeSwap swap(options.directory);
    const HomeCheck check = swap.prepare(options.replace, true);
    if (check != HomeCheck::Ready)
        return {check == HomeCheck::UnusablePath ? DemoStatus::UnusablePath : DemoStatus::Refused, swap.problem(), {}};
    const RecordingImage r = DemoRecordingBuilder::build(options.hours, options.seed);
    if (r.holterMem.empty()) return {DemoStatus::TooLarge, "holter.mem would exceed the 24-bit file offsets", {}};
    int32_t startEventCode = kTimeScaleStartEventCode;
    const int32_t position = startPosition(r.plan, startEventCode);
    const std::string problem = swap.install(HomeContent::of(r, options.language, position, startEventCode));
    if (!problem.empty()) return {DemoStatus::WriteFailed, problem, swap.notes()};
    return {DemoStatus::Ok, summaryOf(r, swap.home()), swap.notes()};
}

}  // namespace lumen
