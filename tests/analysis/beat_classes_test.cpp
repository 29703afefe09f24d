// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "analysis/beat_classifier.h"
#include "analysis/beat_model.h"
#include "analysis/ecg_analyser.h"
#include "analysis/form_clusterer.h"
#include "analysis/synthetic_ecg.h"

namespace lumen {
namespace {

AnalysisResult analyse(SyntheticEcg& ecg, double rateHz, double seconds) {
    EcgAnalyser analyser(rateHz, 2);
    std::vector<float> a, b;
    const auto chunk = static_cast<size_t>(rateHz);
    for (int64_t at = 0; at < static_cast<int64_t>(seconds * rateHz); at += static_cast<int64_t>(chunk)) {
        ecg.fill(at, chunk, a, b);
        analyser.append(a, b);
    }
    return analyser.finish();
}

// Atrial premature beats: narrow, early, with a P wave of their own; the
// beats around them and every ventricular beat keep their classes.
TEST(BeatClasses, PrematureAtrialBeatsAreSupraventricular) {
    for (const double rateHz : {128.0, 360.0}) {
        SCOPED_TRACE(rateHz);
        SyntheticEcg ecg(rateHz, 11);
        ecg.atrialEvery(7);
        const AnalysisResult result = analyse(ecg, rateHz, 300.0);
        size_t right = 0, scored = 0;
        for (const SyntheticEcg::Beat& truth : ecg.beats()) {
            if (truth.sample < 60.0 * rateHz || truth.sample > 295.0 * rateHz) continue;
            const auto found = std::find_if(result.beats.begin(), result.beats.end(), [&](const AnalysedBeat& b) {
                return std::llabs(b.sample - truth.sample) < static_cast<int64_t>(0.1 * rateHz);
            });
            ASSERT_NE(found, result.beats.end()) << "beat at " << truth.sample / rateHz << " s not found";
            const BeatKind expected = truth.ventricular ? BeatKind::Ventricular
                                      : truth.atrial    ? BeatKind::Supraventricular
                                                        : BeatKind::Normal;
            ++scored;
            right += found->kind == expected ? 1 : 0;
        }
        EXPECT_GE(static_cast<double>(right), 0.97 * static_cast<double>(scored));
    }
}

// The ST level of the normal beats against the PR segment, in millivolts.
TEST(BeatClasses, MeasuresTheStLevel) {
    for (const double shiftMv : {0.0, 0.2, -0.15}) {
        SCOPED_TRACE(shiftMv);
        SyntheticEcg ecg(250.0, 0);
        ecg.shiftSt(shiftMv);
        const AnalysisResult result = analyse(ecg, 250.0, 120.0);
        std::vector<float> levels;
        for (const AnalysedBeat& b : result.beats)
            if (b.stValid && b.kind == BeatKind::Normal) levels.push_back(b.stMv[0]);
        ASSERT_GT(levels.size(), 100u);
        std::nth_element(levels.begin(), levels.begin() + static_cast<long>(levels.size() / 2), levels.end());
        EXPECT_NEAR(levels[levels.size() / 2], shiftMv, 0.05);
    }
}

BeatFeatures featuresWith(std::initializer_list<std::pair<BeatFeature, float>> values) {
    BeatFeatures f{};
    f[static_cast<size_t>(BeatFeature::RrAgainstEarlier)] = 1.0f;
    f[static_cast<size_t>(BeatFeature::RrAgainstLater)] = 1.0f;
    f[static_cast<size_t>(BeatFeature::NormalCorrelation)] = 1.0f;
    for (const auto& [feature, value] : values) f[static_cast<size_t>(feature)] = value;
    return f;
}

// A model of three one-split trees: wide beats score for the ventricular class.
BeatModel wideIsVentricular() {
    const ModelNode leaf{};
    ModelNode split{static_cast<int16_t>(BeatFeature::WidthDifference), 0.05f, 3, 4, 0.0f};
    ModelNode ventricular = leaf;
    ventricular.value = 1.0f;
    return BeatModel({leaf, leaf, split, leaf, ventricular}, {0, 1, 2});
}

// R peaks one second apart at 360 Hz.
std::vector<int64_t> evenlySpaced(size_t count) {
    std::vector<int64_t> samples;
    for (size_t i = 0; i < count; ++i) samples.push_back(static_cast<int64_t>(360 * (i + 1)));
    return samples;
}

TEST(BeatClasses, FormsAndRhythmCorrectTheModel) {
    using F = BeatFeature;
    const std::initializer_list<std::pair<BeatFeature, float>> unconducted = {{F::NormalCorrelation, 0.4f},
                                                                              {F::Polarity, 1.0f},
                                                                              {F::PWaveCorrelation, -0.3f},
                                                                              {F::FormPWaveCorrelation, -0.3f}};
    struct Case {
        const char* name;
        std::vector<BeatFeatures> beats;
        std::vector<int32_t> forms;
        std::vector<BeatKind> expected;
    };
    const Case cases[] = {
        {"a narrow beat of a ventricular form unlike the normal ones is ventricular",
         {featuresWith({{F::WidthDifference, 0.08f}}), featuresWith({{F::WidthDifference, 0.08f}}),
          featuresWith({{F::NormalCorrelation, 0.5f}}), featuresWith({{F::NormalCorrelation, 0.95f}})},
         {1, 1, 1, 1},
         {BeatKind::Ventricular, BeatKind::Ventricular, BeatKind::Ventricular, BeatKind::Normal}},
        {"a paroxysm faster than the rhythm before and after is supraventricular",
         {featuresWith({{F::RrAgainstEarlier, 0.6f}, {F::RrAgainstLater, 0.6f}}),
          featuresWith({{F::RrAgainstEarlier, 0.6f}, {F::RrAgainstLater, 1.0f}}),
          featuresWith({{F::RrAgainstEarlier, 0.8f}, {F::RrAgainstLater, 0.6f}})},
         {0, 0, 0},
         {BeatKind::Supraventricular, BeatKind::Normal, BeatKind::Normal}},
        {"an on-time beat unlike the normal forms, turned, without a P wave, is ventricular; with one it is "
         "aberrant conduction",
         {featuresWith(unconducted),
          featuresWith({{F::NormalCorrelation, 0.4f},
                        {F::Polarity, 1.0f},
                        {F::PWaveCorrelation, 0.9f},
                        {F::FormPWaveCorrelation, 0.9f}}),
          featuresWith({{F::NormalCorrelation, 0.4f}, {F::PWaveCorrelation, -0.3f}})},
         {0, 1, 2},
         {BeatKind::Ventricular, BeatKind::Normal, BeatKind::Normal}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BeatClassifier::classifyAll(wideIsVentricular(), c.beats, c.forms, evenlySpaced(c.beats.size())),
                  c.expected);
    }
}

// A tachycardia that starts and stops from one beat to the next is
// supraventricular however long it lasts; a rate that climbs over many
// beats, or that never comes back down, is not.
TEST(BeatClasses, ParoxysmsAreKnownByTheirOnset) {
    struct Case {
        const char* name;
        std::vector<std::pair<int64_t, size_t>> rrSamples;  // RR and how many beats
        size_t firstFast, lastFast;                         // expected supraventricular, or lastFast < firstFast
        float pWaveCorrelation = 0.0f;                      // every beat's P wave with the dominant form's
    };
    // Beats this early are wide: the model calls them ventricular.
    constexpr int64_t kVentricularRr = 215;
    std::vector<std::pair<int64_t, size_t>> gradual = {{360, 40}};
    for (int64_t rr = 350; rr > 216; rr -= 6) gradual.push_back({rr, 1});
    gradual.push_back({216, 200});
    for (int64_t rr = 222; rr < 360; rr += 6) gradual.push_back({rr, 1});
    gradual.push_back({360, 40});
    std::vector<std::pair<int64_t, size_t>> bigeminy = {{360, 40}};
    for (int k = 0; k < 10; ++k) bigeminy.insert(bigeminy.end(), {{kVentricularRr, 1}, {505, 1}});
    bigeminy.insert(bigeminy.end(), {{360, 40}, {450, 1}, {360, 10}});
    const Case cases[] = {
        {"abrupt onset and end, 200 beats", {{360, 40}, {216, 200}, {360, 40}}, 41, 240},
        {"two fast beats are no paroxysm", {{360, 40}, {216, 2}, {360, 40}}, 1, 0},
        {"a rate that climbs and falls", gradual, 1, 0},
        {"fast until the recording ends", {{360, 40}, {216, 200}}, 1, 0},
        {"sinus rhythm after the pauses of ventricular bigeminy", bigeminy, 1, 0},
        {"2:1 block giving way to 1:1 conduction, a sinus P wave before every beat",
         {{720, 40}, {360, 200}, {720, 40}},
         1,
         0,
         0.9f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int64_t> samples = {0};
        for (const auto& [rr, count] : c.rrSamples)
            for (size_t k = 0; k < count; ++k) samples.push_back(samples.back() + rr);
        std::vector<BeatFeatures> beats;
        for (size_t i = 0; i < samples.size(); ++i) {
            const bool wide = i > 0 && samples[i] - samples[i - 1] == kVentricularRr;
            beats.push_back(featuresWith({{BeatFeature::WidthDifference, wide ? 0.08f : 0.0f},
                                          {BeatFeature::PWaveCorrelation, c.pWaveCorrelation}}));
        }
        const std::vector<int32_t> forms(samples.size(), 0);
        const std::vector<BeatKind> kinds = BeatClassifier::classifyAll(wideIsVentricular(), beats, forms, samples);
        for (size_t i = 0; i < kinds.size(); ++i) {
            BeatKind expected = i >= c.firstFast && i <= c.lastFast ? BeatKind::Supraventricular : BeatKind::Normal;
            if (beats[i][static_cast<size_t>(BeatFeature::WidthDifference)] > 0.0f) expected = BeatKind::Ventricular;
            ASSERT_EQ(kinds[i], expected) << "beat " << i;
        }
    }
}

TEST(BeatModel, RefusesTreesThatLeaveTheirNodesOrLoop) {
    const ModelNode leaf{};
    const ModelNode toItself{0, 0.0f, 0, 0, 0.0f};
    const ModelNode beyond{0, 0.0f, 1, 7, 0.0f};
    const ModelNode noFeature{static_cast<int16_t>(kBeatFeatureCount), 0.0f, 1, 2, 0.0f};
    EXPECT_THROW(BeatModel({leaf}, {1}), std::invalid_argument);
    EXPECT_THROW(BeatModel({toItself}, {0}), std::invalid_argument);
    EXPECT_THROW(BeatModel({beyond, leaf}, {0}), std::invalid_argument);
    EXPECT_THROW(BeatModel({noFeature, leaf, leaf}, {0}), std::invalid_argument);
    EXPECT_NO_THROW(BeatModel::embedded());
}

// Two shapes, the first beats of the second among the first form's beats:
// every beat ends in its own shape's form, the larger first.
TEST(FormClusterer, GroupsEveryBeatWithItsShape) {
    auto shaped = [](float sign, float scale) {
        MeasuredBeat b;
        for (int c = 0; c < 2; ++c)
            for (int k = 0; k < kShapePoints; ++k)
                b.shape[static_cast<size_t>(c)][static_cast<size_t>(k)] =
                    scale * (k == kShapePointsBeforeR ? sign : (k == kShapePointsBeforeR + 3 ? -0.3f * sign : 0.0f));
        return b;
    };
    std::vector<MeasuredBeat> beats;
    for (int i = 0; i < 30; ++i) beats.push_back(i % 3 == 1 ? shaped(-1.0f, 1.0f + 0.01f * i) : shaped(1.0f, 1.0f));
    std::vector<const MeasuredBeat*> pointers;
    for (const MeasuredBeat& b : beats) pointers.push_back(&b);
    const FormClusterer::Result result = FormClusterer::cluster(pointers);
    ASSERT_EQ(result.forms.size(), 2u);
    EXPECT_EQ(result.forms[0].beatCount, 20);
    EXPECT_EQ(result.forms[1].beatCount, 10);
    for (size_t i = 0; i < beats.size(); ++i) EXPECT_EQ(result.formOf[i], i % 3 == 1 ? 1 : 0) << i;
}

}  // namespace
}  // namespace lumen
