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
    void clear() { words_.clear(); }

    const BeatCounts& count();
    const BeatCounts& counts() const { return counts_; }
    // The beat statistics line from the language's format (normal, then
    // ventricular, then supraventricular, each with its percentage).
    std::string statisticsText(std::string_view format) const;

    size_t size() const { return words_.size(); }
    BeatWord operator[](size_t index) const { return words_[index]; }
    BeatWord& operator[](size_t index) { return words_[index]; }
    std::span<const BeatWord> words() const { return words_; }
    std::span<BeatWord> words() { return words_; }

private:
    std::vector<BeatWord> words_;
    BeatCounts counts_;
};

}  // namespace lumen
