// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// xoshiro256** seeded through splitmix64: the generator's own random source,
// identical on every platform and standard library.
class DemoRandom {
public:
    explicit DemoRandom(uint64_t seed);

    uint64_t next();
    // Uniform in [0, 1).
    double uniform();
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    // Uniform in [0, count).
    int32_t below(int32_t count);
    // Approximately standard normal (sum of four uniforms, rescaled).
    double gaussian();

private:
    uint64_t state_[4];
};

}  // namespace lumen
