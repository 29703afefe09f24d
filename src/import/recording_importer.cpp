// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/recording_importer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "assembly/episode_rules.h"
#include "assembly/form_templates.h"
#include "assembly/trend_builder.h"
#include "import/analysing_source.h"
#include "import/beat_analysis.h"
#include "import/export_content.h"
#include "import/form_matcher.h"
#include "import/import_error.h"
#include "lang/language_texts.h"
#include "lang/source_text.h"
#include "store/time_units.h"

namespace lumen {
namespace {

constexpr int64_t kLeadOffBeatSpacing = 200;  // one lead-off mark a second
constexpr int64_t kLeadOffClearance = 120;    // kept away from annotated beats

constexpr size_t kPatientLineBytes = 97;

// The patient line in the home's code page, from text in any encoding.
std::string patientLine(const std::string& text, CodePage page) {
    std::string out = encodeFromUtf8(utf8OfSourceText(text), page);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
    const size_t first = out.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : out.substr(first, kPatientLineBytes);
}

// What the source said that holter.mem cannot hold.
SourceNotes notesOf(const SourceRecording& source, const ConditionedSignal& signal) {
    SourceNotes notes;
    notes.startDate = source.startDate;
    notes.sourceTicks = signal.sourceTicks;
    for (const SourceEvent& e : source.events)
        if (!e.text.empty() && e.text != kManualEventName)
            notes.markers.push_back(
                {static_cast<int32_t>(tenthsOfQuarterTicks(e.quarterTicks)), utf8OfSourceText(e.text)});
    std::stable_sort(notes.markers.begin(), notes.markers.end(),
                     [](const MarkerText& a, const MarkerText& b) { return a.tenths < b.tenths; });
    return notes;
}

std::vector<PlannedBeat> beatsOf(const SourceRecording& source, const ConditionedSignal& signal, size_t& leadOffBeats) {
    std::vector<PlannedBeat> beats;
    beats.reserve(source.beats.size());
    for (const SourceBeat& b : source.beats) {
        PlannedBeat p;
        p.positionQuarterTicks = static_cast<int32_t>(std::max<int64_t>(1, b.quarterTicks));
        p.beatClass = b.label.beatClass;
        p.formCode = b.label.formCode;
        p.pWaveSeen = b.pWaveSeen;
        beats.push_back(p);
    }
    std::stable_sort(beats.begin(), beats.end(), [](const PlannedBeat& a, const PlannedBeat& b) {
        return a.positionQuarterTicks < b.positionQuarterTicks;
    });
    // Two beats cannot share a position: the later one moves on by 5 ms.
    for (size_t i = 1; i < beats.size(); ++i)
        beats[i].positionQuarterTicks = std::max(beats[i].positionQuarterTicks, beats[i - 1].positionQuarterTicks + 1);
    std::vector<PlannedBeat> marks;
    for (const TickStretch& s : signal.leadOff) {
        for (int64_t q = quarterTicksOfTicks(s.start) + kLeadOffBeatSpacing / 2; q < quarterTicksOfTicks(s.end);
             q += kLeadOffBeatSpacing) {
            const auto near =
                std::lower_bound(beats.begin(), beats.end(), q - kLeadOffClearance,
                                 [](const PlannedBeat& b, int64_t v) { return b.positionQuarterTicks < v; });
            if (near != beats.end() && near->positionQuarterTicks <= q + kLeadOffClearance) continue;
            PlannedBeat p;
            p.positionQuarterTicks = static_cast<int32_t>(q);
            p.beatClass = kClassSupraventricular;
            p.formCode = kFormNone;
            marks.push_back(p);
        }
    }
    leadOffBeats = marks.size();
    beats.insert(beats.end(), marks.begin(), marks.end());
    std::stable_sort(beats.begin(), beats.end(), [](const PlannedBeat& a, const PlannedBeat& b) {
        return a.positionQuarterTicks < b.positionQuarterTicks;
    });
    return beats;
}

void addStretches(const SourceRecording& source, const ConditionedSignal& signal, RhythmPlan& plan) {
    for (const TickStretch& s : signal.leadOff) plan.stretches.push_back({StretchKind::LeadOff, s.start, s.end, 0, 0});
    for (const QuarterTickStretch& n : source.noise)
        plan.stretches.push_back({StretchKind::Motion, static_cast<int32_t>(ticksOfQuarterTicks(n.start)),
                                  static_cast<int32_t>(ticksOfQuarterTicks(n.end + kQuarterTicksPerTick - 1)), 0, 0});
}

// Annotated noise becomes an artefact episode; its beats keep their labels.
// Ventricular flutter has no beats to count; it is flagged for the report
// so that the reviewer meets it among the events to print.
void addStretchEpisodes(const SourceRecording& source, RhythmPlan& plan) {
    auto add = [&](const QuarterTickStretch& s, uint8_t code, bool flagged) {
        PlannedEpisode e;
        e.code = code;
        e.flagged = flagged;
        e.startTenths = static_cast<int32_t>(tenthsOfQuarterTicks(s.start));
        e.endTenths = static_cast<int32_t>(tenthsCoveringQuarterTicks(s.end));
        plan.episodes.push_back(e);
    };
    for (const QuarterTickStretch& n : source.noise) add(n, EpisodeRules::kArtefact, false);
    for (const QuarterTickStretch& f : source.ventricularFlutter) add(f, EpisodeRules::kVentricularFlutter, true);
    EpisodeRules::sortForStorage(plan.episodes);
}

// A source's own rhythm annotations, else what the RR intervals show;
// inside fibrillation the analysis's supraventricular beats become normal.
std::vector<PlannedEpisode> fibrillationOf(const SourceRecording& source, bool analysed,
                                           std::vector<PlannedBeat>& beats) {
    std::vector<PlannedEpisode> found;
    if (source.hasRhythmAnnotations) {
        std::vector<std::pair<int64_t, int64_t>> stretches;
        for (const QuarterTickStretch& s : source.fibrillation) stretches.emplace_back(s.start, s.end);
        found = EpisodeRules::fibrillationOf(beats, stretches);
    } else {
        found = EpisodeRules::detectFibrillation(beats, !analysed);
    }
    if (analysed) EpisodeRules::relabelInsideFibrillation(beats, found);
    return found;
}

void checkRate(double rateHz, const std::string& sourceName) {
    if (rateHz >= kLowestSourceRateHz && rateHz <= kHighestSourceRateHz) return;
    char text[160];
    std::snprintf(text, sizeof text, "sampled at %g Hz; Lumen imports records sampled at %g Hz to %g Hz", rateHz,
                  kLowestSourceRateHz, kHighestSourceRateHz);
    throw ImportError(sourceName, std::string(text) +
                                      ". If the rate is right, resample the record into that range (EDFbrowser or "
                                      "WFDB's xform do) and import it again; if not, correct the header.");
}

// The source must be sampled in the range Lumen takes and be short enough
// for 25-bit beat positions; returns its length in seconds.
double checkedSeconds(const SignalSource& signal, const std::string& sourceName) {
    checkRate(signal.frequencyHz(), sourceName);
    const double seconds = static_cast<double>(signal.lengthSamples()) / signal.frequencyHz();
    if (seconds * kQuarterTicksPerSecond > static_cast<double>(kMaxQuarterTicks))
        throw ImportError(sourceName, "the record lasts " + std::to_string(seconds / 3600.0) +
                                          " h; a recording holds at most 46.6 h (25-bit beat positions of 5 ms)");
    return seconds;
}

void checkBeatsInside(const SourceRecording& source, double seconds, const std::string& sourceName) {
    for (const SourceBeat& b : source.beats)
        if (b.quarterTicks > static_cast<int64_t>(seconds * kQuarterTicksPerSecond) + 4)
            throw ImportError(sourceName, "a beat annotation lies past the end of the signal");
}

// Both channels flat at the baseline for the record's length, all of it
// lead-off: what a record without its signal files shows.
ConditionedSignal flatSignal(const SignalSource& signal) {
    ConditionedSignal out;
    out.sourceTicks = static_cast<int32_t>(
        std::llround(static_cast<double>(signal.lengthSamples()) * kStoredRateHz / signal.frequencyHz()));
    const size_t padded =
        (static_cast<size_t>(out.sourceTicks) + kSamplesPerBlock - 1) / kSamplesPerBlock * kSamplesPerBlock;
    out.channel1.assign(std::max<size_t>(padded, kSamplesPerBlock), kBaselineSample);
    out.channel2 = out.channel1;
    out.leadOff.push_back({0, out.sourceTicks});
    return out;
}

// Conditions the signal; with the analysis, its beats replace the source's.
void condition(SourceRecording& source, const std::string& sourceName, ImportedRecording& out,
               AnalysisResult& analysis) {
    SignalSource& signal = *source.signal;
    if (source.signalAbsent) {
        out.signal = flatSignal(signal);
        return;
    }
    if (!out.analysed) {
        out.signal = SignalConditioner::run(signal, sourceName);
        return;
    }
    AnalysingSource analysing(signal, source.pacemaker);
    out.signal = SignalConditioner::run(analysing, sourceName);
    analysis = analysing.finish();
    source.noise.clear();
    BeatAnalysis::addBeats(analysis, signal.frequencyHz(), source);
}

void planRhythm(const SourceRecording& source, ImportedRecording& out) {
    RhythmPlan& plan = out.recording.plan;
    plan.sampleCount = static_cast<int32_t>(out.signal.channel1.size());
    plan.hours = std::max(1, (out.signal.sourceTicks + kTicksPerHour - 1) / kTicksPerHour);
    const int32_t start = source.startSecondOfDay.value_or(0);
    plan.start = Clock{static_cast<uint8_t>(start / 3600), static_cast<uint8_t>(start / 60 % 60),
                       static_cast<uint8_t>(start % 60)};
    plan.startDate = source.startDate;
    plan.beats = beatsOf(source, out.signal, out.leadOffBeats);
    addStretches(source, out.signal, plan);
    const std::vector<PlannedEpisode> fibrillation = fibrillationOf(source, out.analysed, plan.beats);
    plan.episodes = EpisodeRules::derive(plan.beats, fibrillation);
    addStretchEpisodes(source, plan);
    EpisodeRules::flagForReport(plan.episodes);
    for (const SourceEvent& e : source.events)
        plan.markerTenths.push_back(static_cast<int32_t>(tenthsOfQuarterTicks(e.quarterTicks)));
    std::sort(plan.markerTenths.begin(), plan.markerTenths.end());
}

// The stored signal, trend tables and beat forms of the planned rhythm.
void fillImage(ImportedRecording& out, const AnalysisResult& analysis, double frequencyHz) {
    RecordingImage& r = out.recording;
    r.signal.channel1 = std::move(out.signal.channel1);
    r.signal.channel2 = std::move(out.signal.channel2);
    r.amplitudeCode = out.signal.amplitudeCode;
    r.trends = TrendBuilder::build(r.plan, r.signal, out.signal.unitsPerMv);
    if (out.analysed) BeatAnalysis::applySt(analysis, frequencyHz, r.trends);
    r.forms = FormTemplates::build(r.plan, r.signal);
    // The analysis's forms are shapes already; annotated beats have one
    // ventricular form until their shapes part them.
    if (!out.analysed) out.secondVentricularForm = FormMatcher::splitVentricularForms(r);
    r.formsMem = FormTemplates::fileImage(r.forms);
    r.codeTable = RecordingAssembler::buildCodeTable(r.signal);
}

}  // namespace

ImportedRecording RecordingImporter::build(SourceRecording& source, const std::string& sourceName,
                                           const std::string& patient, bool detect, int32_t language) {
    const double seconds = checkedSeconds(*source.signal, sourceName);
    ImportedRecording out;
    if (source.signalAbsent && detect)
        throw ImportError(sourceName,
                          "has no signal to find beats in, so --detect cannot be used; import it "
                          "without --detect to take its beat annotations.");
    out.analysed = detect || !source.hasBeatAnnotations;
    if (!out.analysed) checkBeatsInside(source, seconds, sourceName);
    AnalysisResult analysis;
    condition(source, sourceName, out, analysis);
    planRhythm(source, out);
    out.recording.notes = notesOf(source, out.signal);
    fillImage(out, analysis, source.signal->frequencyHz());
    RecordingImage& r = out.recording;
    r.patientLine = patientLine(patient.empty() ? source.patient : patient, LanguageTexts::codePageOf(language));
    r.holterMem = RecordingAssembler::assemble(r);
    if (r.holterMem.empty())
        throw ImportError(sourceName, "the recording would exceed the 16 MiB that 24-bit file offsets address");
    return out;
}

}  // namespace lumen
