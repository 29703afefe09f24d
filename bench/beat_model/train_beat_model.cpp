// SPDX-License-Identifier: GPL-3.0-or-later
// Learns the beat classification model from annotated records and reports
// its leave-one-record-out scores: for each record, a model learned from
// all the others classifies it, and its beats are scored against its
// reference annotations (ANSI/AAMI EC57). With --write the model learned
// from all records becomes the embedded data files in FOLDER.
//
//   lumen_train_beats [--write FOLDER] [--class-balance A] [--depth D] [--rounds R] [--drop FEATURE]... RECORD...
//
// LUMEN_TRAIN_DUMP=NAME (or all) prints the features of that record's
// misclassified beats, or of all its beats with LUMEN_TRAIN_ALL set: the
// material the rules after the model were read from.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/atrial_fibrillation_detector.h"
#include "analysis/beat_classifier.h"
#include "analysis/ecg_analyser.h"
#include "beat_model/gradient_boosting.h"
#include "import/import_error.h"
#include "import/reference_beats.h"
#include "import/source_opener.h"

using namespace lumen;

namespace {

constexpr size_t kReadSamples = 8192;
constexpr int kUnlabelled = -1;
constexpr int kNoBeat = 3;  // a detection that matches no reference beat

// The settings chosen among a dozen tried by the leave-one-record-out gross
// figures (docs/analysis.md).
constexpr int kTreeDepth = 4;
constexpr int kRounds = 100;
constexpr double kClassBalance = 1.0;  // each class weighs as much as the others
// Measured but withheld from the model: raw sizes and likenesses that
// depend on the patient's noise and amplitude (their spread-scaled forms
// are given instead), and the rhythm's irregularity, which follows the
// ectopy of the neighbours rather than the beat.
constexpr int kWithheld[] = {static_cast<int>(BeatFeature::LocalIrregularity),
                             static_cast<int>(BeatFeature::Correlation), static_cast<int>(BeatFeature::AmplitudeLog),
                             static_cast<int>(BeatFeature::AreaDifference),
                             static_cast<int>(BeatFeature::TWaveCorrelation)};

struct Record {
    std::string name;
    double rateHz = 0.0;
    AnalysisResult result;
    std::vector<int> labels;  // per analysed beat: 0 N, 1 S, 2 V, 3 no beat, or unlabelled (F, Q)
    ReferenceBeats reference;
};

int labelOf(ScoreClass c) {
    switch (c) {
    case ScoreClass::N: return 0;
    case ScoreClass::S: return 1;
    case ScoreClass::V: return 2;
    default: return kUnlabelled;
    }
}

// Each analysed beat takes the class of the closest reference beat within
// the matching window; a detection that matches none is no beat.
std::vector<int> labelsOf(const Record& r) {
    std::vector<int> labels;
    size_t k = 0;
    for (const AnalysedBeat& b : r.result.beats) {
        const double t = static_cast<double>(b.sample) / r.rateHz;
        while (k + 1 < r.reference.beats.size() &&
               std::fabs(r.reference.beats[k + 1].seconds - t) <= std::fabs(r.reference.beats[k].seconds - t))
            ++k;
        const bool near =
            !r.reference.beats.empty() && std::fabs(r.reference.beats[k].seconds - t) <= BeatScore::kMatchWindowSeconds;
        labels.push_back(near ? labelOf(r.reference.beats[k].kind) : kNoBeat);
    }
    return labels;
}

Record analyse(const std::string& path) {
    SourceRecording source = SourceOpener::open(path, {}, "");
    EcgAnalyser analyser(source.signal->frequencyHz(), source.signal->channelCount(), source.pacemaker);
    std::vector<float> c0(kReadSamples), c1(kReadSamples);
    while (const size_t n = source.signal->read(c0, c1)) analyser.append({c0.data(), n}, {c1.data(), n});
    Record r;
    r.name = path.substr(path.find_last_of('/') + 1);
    r.rateHz = source.signal->frequencyHz();
    r.result = analyser.finish();
    r.reference = ReferenceBeats::read(path + ".atr");
    r.labels = labelsOf(r);
    return r;
}

TrainingSet trainingSet(const std::vector<Record>& records, size_t leftOut, double classBalance,
                        const std::array<double, kModelClasses>& emphasis) {
    TrainingSet set;
    std::array<double, kModelClasses> count{};
    for (size_t r = 0; r < records.size(); ++r) {
        if (r == leftOut) continue;
        for (size_t i = 0; i < records[r].labels.size(); ++i) {
            const int label = records[r].labels[i];
            if (label == kUnlabelled) continue;
            set.features.push_back(records[r].result.features[i]);
            set.labels.push_back(static_cast<uint8_t>(label));
            count[static_cast<size_t>(label)] += 1.0;
        }
    }
    double total = 0.0;
    for (double c : count) total += c;
    for (uint8_t label : set.labels)
        set.weights.push_back(emphasis[label] *
                              std::pow(total / (kModelClasses * std::max(1.0, count[label])), classBalance));
    return set;
}

BeatScore scoreWith(const Record& r, const BeatModel& model) {
    static constexpr ScoreClass kByKind[] = {ScoreClass::N, ScoreClass::S, ScoreClass::V, ScoreClass::Q};
    std::vector<int32_t> formOf;
    std::vector<int64_t> samples;
    for (const AnalysedBeat& b : r.result.beats) {
        formOf.push_back(b.form);
        samples.push_back(b.sample);
    }
    std::vector<BeatKind> kinds = BeatClassifier::classifyAll(model, r.result.features, formOf, samples);
    // As the recording's episode rules do: inside atrial fibrillation the
    // analysis's supraventricular beats are normal.
    std::vector<RhythmBeat> rhythm;
    for (size_t i = 0; i < kinds.size(); ++i)
        rhythm.push_back({static_cast<double>(r.result.beats[i].sample) / r.rateHz,
                          kinds[i] == BeatKind::Normal || kinds[i] == BeatKind::Supraventricular, false,
                          r.result.beats[i].pWaveSeen});
    size_t relabelled = 0;
    for (const BeatRange& range : AtrialFibrillationDetector::detect(rhythm))
        for (size_t i = range.first; i <= range.last; ++i)
            if (kinds[i] == BeatKind::Supraventricular) {
                kinds[i] = BeatKind::Normal;
                ++relabelled;
            }
    if (std::getenv("LUMEN_TRAIN_DUMP") != nullptr)
        std::printf("%s: %zu supraventricular beats inside fibrillation\n", r.name.c_str(), relabelled);
    std::vector<ScoreBeat> tested;
    for (size_t i = 0; i < r.result.beats.size(); ++i)
        tested.push_back(
            {static_cast<double>(r.result.beats[i].sample) / r.rateHz, kByKind[static_cast<size_t>(kinds[i])]});
    if (const char* dump = std::getenv("LUMEN_TRAIN_DUMP");
        dump != nullptr && (r.name == dump || std::string(dump) == "all"))
        for (size_t i = 0; i < kinds.size(); ++i) {
            if (std::getenv("LUMEN_TRAIN_ALL") == nullptr &&
                (r.labels[i] == kUnlabelled || r.labels[i] == static_cast<int>(kinds[i])))
                continue;
            std::printf("%s %9.2f ref %d got %d form %d:", r.name.c_str(),
                        static_cast<double>(r.result.beats[i].sample) / r.rateHz, r.labels[i],
                        static_cast<int>(kinds[i]), formOf[i]);
            for (float v : r.result.features[i]) std::printf(" %.2f", static_cast<double>(v));
            std::printf("\n");
        }
    return BeatScore::compare(r.reference.beats, tested, BeatScore::kLearningSeconds, r.reference.flutter);
}

// The model as the two data files that src/analysis/beat_model_data.cpp
// includes: its nodes (feature, threshold, left, right, value) and the
// root of each tree.
void writeModel(const BeatModel& model, const std::string& folder) {
    constexpr const char* kGenerated =
        "// SPDX-License-Identifier: GPL-3.0-or-later\n// Generated by bench/train_beat_model.sh; do not edit.\n";
    std::ofstream nodes(folder + "/beat_model_nodes.inc");
    nodes << kGenerated;
    char line[160];
    for (const ModelNode& n : model.nodes()) {
        std::snprintf(line, sizeof line, "{%d, %.9g, %d, %d, %.9g},\n", n.feature, static_cast<double>(n.threshold),
                      n.left, n.right, static_cast<double>(n.value));
        nodes << line;
    }
    std::ofstream roots(folder + "/beat_model_roots.inc");
    roots << kGenerated;
    for (size_t i = 0; i < model.roots().size(); ++i) roots << model.roots()[i] << (i % 16 == 15 ? ",\n" : ", ");
    roots << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::string write;
    std::vector<int> dropped(std::begin(kWithheld), std::end(kWithheld));
    std::array<double, kModelClasses> emphasis{1.0, 1.0, 1.0, 1.0};
    double classBalance = kClassBalance;
    BoostingParameters parameters;
    parameters.depth = kTreeDepth;
    parameters.rounds = kRounds;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--write" && i + 1 < argc)
            write = argv[++i];
        else if (a == "--class-balance" && i + 1 < argc)
            classBalance = std::atof(argv[++i]);
        else if (a == "--rounds" && i + 1 < argc)
            parameters.rounds = std::atoi(argv[++i]);
        else if (a == "--depth" && i + 1 < argc)
            parameters.depth = std::atoi(argv[++i]);
        else if (a == "--drop" && i + 1 < argc)
            dropped.push_back(std::atoi(argv[++i]));
        else if (a == "--s-weight" && i + 1 < argc)
            emphasis[1] = std::atof(argv[++i]);
        else if (a == "--v-weight" && i + 1 < argc)
            emphasis[2] = std::atof(argv[++i]);
        else
            paths.push_back(a);
    }
    if (paths.empty()) {
        std::fprintf(stderr,
                     "usage: lumen_train_beats [--write FOLDER] [--class-balance A] [--depth D] [--rounds R] "
                     "[--drop FEATURE] [--s-weight W] [--v-weight W] RECORD...\n");
        return 2;
    }
    std::vector<Record> records;
    try {
        for (const std::string& p : paths) records.push_back(analyse(p));
        // A feature left out of an experiment reads the same for every beat.
        for (Record& r : records)
            for (BeatFeatures& f : r.result.features)
                for (int d : dropped) f[static_cast<size_t>(d)] = 0.0f;
    } catch (const ImportError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("leave one record out\n%s\n", BeatScore::header().c_str());
    BeatScore gross;
    for (size_t r = 0; r < records.size(); ++r) {
        const BeatScore score =
            scoreWith(records[r], trainBoostedTrees(trainingSet(records, r, classBalance, emphasis), parameters));
        gross.add(score);
        std::printf("%s\n", score.row(records[r].name).c_str());
        std::fflush(stdout);
    }
    std::printf("%s\n", gross.row("gross").c_str());
    if (!write.empty())
        writeModel(trainBoostedTrees(trainingSet(records, records.size(), classBalance, emphasis), parameters), write);
    return 0;
}
