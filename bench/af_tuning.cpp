// SPDX-License-Identifier: GPL-3.0-or-later
// Chooses the irregularity threshold of the atrial fibrillation detector by
// leave-one-record-out over annotated long-term records: for each record the
// threshold that scores best on all the others, then that record scored with
// it. Reads WFDB headers and .atr files only (beats and rhythm changes).
//
//   lumen_af_tuning RECORD...      (record paths without extension;
//                                   AF_WINDOW_BEATS=N tries another window)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "analysis/atrial_fibrillation_detector.h"
#include "import/beat_labels.h"
#include "import/wfdb/wfdb_annotations.h"
#include "import/wfdb/wfdb_header.h"

namespace {

using lumen::AfDetectorSettings;
using lumen::AtrialFibrillationDetector;
using lumen::RhythmBeat;

constexpr uint8_t kRhythmCode = 28;  // "+"

struct Span {
    double from = 0.0;
    double to = 0.0;
};

struct Record {
    std::string name;
    double seconds = 0.0;
    std::vector<RhythmBeat> beats;
    std::vector<Span> reference;
    std::vector<double> irregularity;
};

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool fibrillation(std::string aux) {
    while (!aux.empty() && (aux.back() == '\0' || aux.back() == ' ')) aux.pop_back();
    return aux == "(AFIB" || aux == "(AFL";
}

Record load(const std::string& path) {
    Record r;
    r.name = path.substr(path.find_last_of('/') + 1);
    const lumen::WfdbHeader h = lumen::WfdbHeader::parse(readText(path + ".hea"), path + ".hea");
    const std::string bytes = readText(path + ".atr");
    const auto annotations = lumen::WfdbAnnotations::parse(
        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), path + ".atr");
    const double fs = h.samplingFrequency;
    r.seconds =
        static_cast<double>(h.samplesPerSignal.value_or(annotations.empty() ? 0 : annotations.back().sample)) / fs;
    double afStart = -1.0;
    for (const auto& a : annotations) {
        const double t = static_cast<double>(a.sample) / fs;
        if (a.code == kRhythmCode) {
            if (afStart >= 0.0) r.reference.push_back({afStart, t});
            afStart = fibrillation(a.aux) ? t : -1.0;
            continue;
        }
        const auto label = lumen::BeatLabels::lookup(lumen::WfdbAnnotations::mnemonic(a.code));
        if (!label) continue;
        // Annotated supraventricular beats are premature beats.
        r.beats.push_back({t, label->beatClass <= 1, label->beatClass == 1});
    }
    if (afStart >= 0.0) r.reference.push_back({afStart, r.seconds});
    return r;
}

double overlap(const std::vector<Span>& a, const std::vector<Span>& b) {
    double sum = 0.0;
    size_t j = 0;
    for (const Span& x : a) {
        while (j < b.size() && b[j].to <= x.from) ++j;
        for (size_t k = j; k < b.size() && b[k].from < x.to; ++k)
            sum += std::max(0.0, std::min(x.to, b[k].to) - std::max(x.from, b[k].from));
    }
    return sum;
}

double total(const std::vector<Span>& spans) {
    double sum = 0.0;
    for (const Span& s : spans) sum += s.to - s.from;
    return sum;
}

struct Tally {
    double reference = 0.0, detected = 0.0, both = 0.0;
    void add(const Tally& t) {
        reference += t.reference;
        detected += t.detected;
        both += t.both;
    }
    double se() const { return reference > 0 ? both / reference : 1.0; }
    double pp() const { return detected > 0 ? both / detected : 1.0; }
    // Time wrongly called either way: what the choice minimises.
    double errors() const { return reference + detected - 2.0 * both; }
};

Tally score(const Record& r, double threshold, const AfDetectorSettings& base) {
    AfDetectorSettings s = base;
    s.irregularityThreshold = threshold;
    // The detector's own merging on the precomputed irregularity.
    std::vector<lumen::BeatRange> ranges = AtrialFibrillationDetector::episodes(r.beats, r.irregularity, s);
    std::vector<Span> found;
    for (const auto& e : ranges) found.push_back({r.beats[e.first].seconds, r.beats[e.last].seconds});
    return {total(r.reference), total(found), overlap(found, r.reference)};
}

}  // namespace

int main(int argc, char** argv) {
    AfDetectorSettings base;
    if (const char* w = std::getenv("AF_WINDOW_BEATS")) base.windowBeats = std::stoul(w);
    std::vector<Record> records;
    for (int i = 1; i < argc; ++i) {
        records.push_back(load(argv[i]));
        records.back().irregularity = AtrialFibrillationDetector::irregularity(records.back().beats, base);
    }
    std::vector<double> thresholds;
    for (int k = 0; k <= 40; ++k) thresholds.push_back(0.01 + 0.0025 * k);
    // tallies[t][r]
    std::vector<std::vector<Tally>> tallies(thresholds.size());
    for (size_t t = 0; t < thresholds.size(); ++t)
        for (const Record& r : records) tallies[t].push_back(score(r, thresholds[t], base));
    std::printf("threshold  Se%%    +P%%   (all records)\n");
    for (size_t t = 0; t < thresholds.size(); ++t) {
        Tally all;
        for (const Tally& x : tallies[t]) all.add(x);
        std::printf("%.3f  %6.2f %6.2f\n", thresholds[t], 100 * all.se(), 100 * all.pp());
    }
    Tally held;
    std::printf("\nrecord  chosen  Se%%    +P%%\n");
    for (size_t r = 0; r < records.size(); ++r) {
        size_t best = 0;
        double bestErrors = 1e300;
        for (size_t t = 0; t < thresholds.size(); ++t) {
            Tally others;
            for (size_t o = 0; o < records.size(); ++o)
                if (o != r) others.add(tallies[t][o]);
            if (others.errors() < bestErrors) bestErrors = others.errors(), best = t;
        }
        held.add(tallies[best][r]);
        std::printf("%-6s  %.3f  %6.2f %6.2f\n", records[r].name.c_str(), thresholds[best], 100 * tallies[best][r].se(),
                    100 * tallies[best][r].pp());
    }
    std::printf("left out, gross: Se %.2f %%  +P %.2f %%\n", 100 * held.se(), 100 * held.pp());
}
