// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/beat_word.h"

namespace lumen {

class Recording;

struct BeatCounts {
    std::array<uint32_t, 4> byClass{};  // indexed by BeatClass
    uint32_t noForm = 0;                // code-31 words, not counted by class
};

// Every beat word of section 21, in file order. The words are kept in one
// contiguous array; places in the list are plain indices.
class BeatList {
public:
    // Reads section 21; a file that ends early gives the words it holds.
    void load(Recording& recording);
    // Writes every word back over section 21; false when the write failed.
    bool save(Recording& recording) const;
    // Whether the file holds the words as they are now.
    bool saved(const Recording& recording) const;
    // The words as section 21 stores them.
    std::vector<uint8_t> sectionBytes() const;
    void clear() {
        words_.clear();
        ceilingStale_ = true;
    }

    const BeatCounts& count();
    const BeatCounts& counts() const { return counts_; }
    // The beat statistics line from the language's format (normal, then
    // ventricular, then supraventricular, each with its percentage).

    size_t size() const { return words_.size(); }
    BeatWord operator[](size_t index) const { return words_[index]; }
    BeatWord& operator[](size_t index) {
        ceilingStale_ = true;
        return words_[index];
    }
    std::span<const BeatWord> words() const { return words_; }
    std::span<BeatWord> words() {
        ceilingStale_ = true;
        return words_;
    }
    // A new label for one word; its position stays.
    void relabel(size_t index, uint8_t label) { words_[index] = words_[index].withLabel(label); }

    // Index of a word such that every word before it lies before `sample`
    // (size() when all do): where a walk in file order looking for the
    // first beat at or after `sample` can start. A binary search over the
    // running maximum of the samples, so that a strip late in a long
    // recording costs no more than one early in it.
    size_t firstReaching(int32_t sample);

private:
    std::vector<BeatWord> words_;
    BeatCounts counts_;
    // Running maximum of the words' samples, rebuilt after any write access.
    std::vector<int32_t> sampleCeiling_;
    bool ceilingStale_ = true;
    uint32_t loadedOffset_ = 0;  // where the words were read from
};

}  // namespace lumen
