// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/demo_random.h"

namespace lumen {
namespace {

uint64_t splitMix(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

DemoRandom::DemoRandom(uint64_t seed) {
    for (uint64_t& s : state_) s = splitMix(seed);
}

uint64_t DemoRandom::next() {
    const uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
}

double DemoRandom::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

int32_t DemoRandom::below(int32_t count) {
    if (count <= 1) return 0;
    return static_cast<int32_t>((next() >> 33) % static_cast<uint64_t>(count));
}

double DemoRandom::gaussian() {
    // Four uniforms have variance 4/12; scale to unit variance.
    const double sum = uniform() + uniform() + uniform() + uniform();
    return (sum - 2.0) * 1.7320508075688772;
}

}  // namespace lumen
