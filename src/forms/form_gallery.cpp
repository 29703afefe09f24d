// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form_gallery.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <span>

#include "store/form_census.h"
#include "store/recording.h"

namespace lumen {
namespace {

constexpr int32_t kMillisecondsPerSample = 20;
constexpr size_t kRrHistory = 8;
// A step between samples belongs to the QRS while it is this steep, as a
// share of the mean's steepest step: T waves and baselines are far flatter.
constexpr double kQrsShareOfSteepest = 0.2;

bool formed(BeatWord w) { return FormCensus::holdsBeat(w) && w.formCode() < FormCensus::kFormCodes; }

// The width of the steep part of the mean around the beat's own sample,
// either channel: to the stored 20 ms.
int32_t qrsWidthMs(const FormTile& tile) {
    std::array<double, FormTile::kExcerptSamples - 1> slope{};
    double steepest = 0.0;
    for (const auto& channel : tile.mean)
        for (size_t k = 0; k + 1 < channel.size(); ++k) {
            slope[k] = std::max(slope[k], std::abs(channel[k + 1] - channel[k]));
            steepest = std::max(steepest, slope[k]);
        }
    if (steepest <= 0.0) return 0;
    const auto steep = [&](int32_t k) { return slope[static_cast<size_t>(k)] >= kQrsShareOfSteepest * steepest; };
    // From the steepest step near the beat outwards.
    int32_t first = FormTile::kSamplesBefore - 2;
    for (int32_t k = FormTile::kSamplesBefore - 3; k <= FormTile::kSamplesBefore + 2; ++k)
        if (slope[static_cast<size_t>(k)] > slope[static_cast<size_t>(first)]) first = k;
    int32_t last = first;
    while (first > 0 && steep(first - 1)) --first;
    while (last + 1 < static_cast<int32_t>(slope.size()) && steep(last + 1)) ++last;
    // Steps first..last join samples first..last + 1; the QRS begins and
    // ends between stored samples, half a sample further out on each side.
    return (last - first + 2) * kMillisecondsPerSample;
}

int32_t medianPercent(std::vector<double>& ratios) {
    if (ratios.empty()) return 0;
    const auto middle = ratios.begin() + static_cast<ptrdiff_t>(ratios.size() / 2);
    std::nth_element(ratios.begin(), middle, ratios.end());
    return static_cast<int32_t>(std::lround(*middle * 100.0));
}

}  // namespace

void FormGallery::build(Recording& recording) {
    tiles_.clear();
    const std::span<const BeatWord> words = recording.beats().words();
    for (const FormSummary& form : FormCensus::take(words)) {
        FormTile tile;
        tile.id = form.id;
        tile.beatClass = form.majority();
        tile.count = form.count;
        tiles_.push_back(std::move(tile));
    }
    addStatistics(words);
    addExcerpts(recording, words);
    std::stable_sort(tiles_.begin(), tiles_.end(), [](const FormTile& a, const FormTile& b) {
        return a.beatClass != b.beatClass ? a.beatClass < b.beatClass : a.count > b.count;
    });
}

std::optional<size_t> FormGallery::tileOf(uint8_t id) const {
    for (size_t t = 0; t < tiles_.size(); ++t)
        if (tiles_[t].id == id) return t;
    return std::nullopt;
}

void FormGallery::addStatistics(std::span<const BeatWord> words) {
    std::map<uint8_t, size_t> tileOfForm;
    uint64_t total = 0;
    for (size_t t = 0; t < tiles_.size(); ++t) {
        tileOfForm[tiles_[t].id] = t;
        total += tiles_[t].count;
    }
    std::vector<std::vector<double>> ratios(tiles_.size());
    std::vector<uint32_t> intervals;
    uint32_t previous = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        if (!formed(words[i])) continue;
        const uint32_t position = words[i].positionQuarterTicks();
        const size_t t = tileOfForm[words[i].formCode()];
        tiles_[t].beats.push_back(static_cast<uint32_t>(i));
        if (previous != 0 && intervals.size() >= kRrHistory) {
            const auto recent = intervals.end() - static_cast<ptrdiff_t>(kRrHistory);
            const double mean = std::accumulate(recent, intervals.end(), 0.0) / kRrHistory;
            if (mean > 0.0) ratios[t].push_back((position - previous) / mean);
        }
        if (previous != 0) intervals.push_back(position - previous);
        previous = position;
    }
    for (size_t t = 0; t < tiles_.size(); ++t) {
        tiles_[t].sharePercent = total == 0 ? 0.0 : 100.0 * tiles_[t].count / static_cast<double>(total);
        tiles_[t].prematurityPercent = medianPercent(ratios[t]);
    }
}

// Each sampled beat is cut from the blocks it lies in; a block is decoded
// once however many beats it holds.
void FormGallery::addExcerpts(Recording& recording, std::span<const BeatWord> words) {
    std::map<int32_t, std::array<std::array<uint8_t, kSamplesPerBlock>, 2>> blocks;
    recording.selectBlockIndex();
    const auto sampleAt = [&](int32_t sample, int channel) -> uint8_t {
        const int32_t block = sample / kSamplesPerBlock;
        if (sample < 0 || block >= recording.blockCount()) return kBaselineSample;
        auto found = blocks.find(block);
        if (found == blocks.end()) {
            auto& decoded = blocks[block];
            recording.fetchBlock(decoded[0], decoded[1], block, block);
            found = blocks.find(block);
        }
        return found->second[static_cast<size_t>(channel)][static_cast<size_t>(sample % kSamplesPerBlock)];
    };
    for (FormTile& tile : tiles_) {
        const size_t stride = tile.beats.size() / kSampleBeats + 1;
        for (size_t k = 0; k < tile.beats.size(); k += stride) {
            const int32_t beatSample = words[tile.beats[k]].sample();
            FormTile::Excerpt excerpt{};
            for (int c = 0; c < 2; ++c)
                for (int32_t s = 0; s < FormTile::kExcerptSamples; ++s)
                    excerpt[static_cast<size_t>(c)][static_cast<size_t>(s)] =
                        sampleAt(beatSample - FormTile::kSamplesBefore + s, c);
            tile.sample.push_back(excerpt);
        }
        for (int c = 0; c < 2; ++c)
            for (int32_t s = 0; s < FormTile::kExcerptSamples; ++s) {
                double sum = 0.0;
                for (const auto& e : tile.sample) sum += e[static_cast<size_t>(c)][static_cast<size_t>(s)];
                tile.mean[static_cast<size_t>(c)][static_cast<size_t>(s)] =
                    tile.sample.empty() ? kBaselineSample : sum / static_cast<double>(tile.sample.size());
            }
        tile.qrsWidthMs = qrsWidthMs(tile);
    }
}

}  // namespace lumen
