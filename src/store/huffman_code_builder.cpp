// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/huffman_code_builder.h"

#include <algorithm>
#include <numeric>
#include <queue>
#include <vector>

namespace lumen {
namespace {

constexpr size_t kSymbols = kCodeTableEntries;

// Plain Huffman code lengths; ties broken by node index so the result never
// depends on the library's heap.
std::array<int, kSymbols> huffmanLengths(std::span<const uint64_t, kSymbols> frequencies) {
    struct Node {
        uint64_t weight;
        size_t index;
        bool operator>(const Node& other) const {
            return weight != other.weight ? weight > other.weight : index > other.index;
        }
    };
    std::vector<size_t> parent(2 * kSymbols, 0);
    std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
    for (size_t i = 0; i < kSymbols; ++i) queue.push({frequencies[i] + 1, i});
    size_t next = kSymbols;
    while (queue.size() > 1) {
        const Node a = queue.top();
        queue.pop();
        const Node b = queue.top();
        queue.pop();
        parent[a.index] = parent[b.index] = next;
        queue.push({a.weight + b.weight, next++});
    }
    const size_t root = next - 1;
    std::array<int, kSymbols> lengths{};
    for (size_t i = 0; i < kSymbols; ++i) {
        for (size_t node = i; node != root; node = parent[node]) ++lengths[i];
    }
    return lengths;
}

// Caps the lengths at 12 bits and lengthens the longest codes below the cap
// until the code fits (Kraft sum at most one).
void limitLengths(std::array<int, kSymbols>& lengths) {
    constexpr int64_t kFull = int64_t{1} << kMaxCodeBits;
    int64_t kraft = 0;
    for (int& length : lengths) {
        length = std::min(length, kMaxCodeBits);
        kraft += kFull >> length;
    }
    while (kraft > kFull) {
        size_t longest = kSymbols;
        for (size_t i = 0; i < kSymbols; ++i) {
            if (lengths[i] < kMaxCodeBits && (longest == kSymbols || lengths[i] >= lengths[longest])) longest = i;
        }
        kraft -= kFull >> (lengths[longest] + 1);
        ++lengths[longest];
    }
}

}  // namespace

CodeTable HuffmanCodeBuilder::build(std::span<const uint64_t, kCodeTableEntries> frequencies) {
    std::array<int, kSymbols> lengths = huffmanLengths(frequencies);
    limitLengths(lengths);
    std::array<size_t, kSymbols> order;
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return lengths[a] < lengths[b]; });
    CodeTable table{};
    int32_t code = 0;
    int previousLength = lengths[order[0]];
    for (size_t slot = 0; slot < kSymbols; ++slot) {
        const size_t symbol = order[slot];
        code <<= (lengths[symbol] - previousLength);
        previousLength = lengths[symbol];
        table[slot] = CodeEntry{static_cast<int32_t>(symbol), lengths[symbol], code};
        ++code;
    }
    return table;
}

void HuffmanCodeBuilder::countDifferences(std::span<const uint8_t> samples,
                                          std::span<uint64_t, kCodeTableEntries> frequencies) {
    for (size_t i = 1; i < samples.size(); ++i) ++frequencies[static_cast<size_t>(samples[i] - samples[i - 1] + 255)];
}

}  // namespace lumen
