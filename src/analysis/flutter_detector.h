// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/analysed_beat.h"
#include "analysis/window_signals.h"

namespace lumen {

// Ventricular flutter and fibrillation: a fast, nearly sinusoidal signal
// without an isoelectric line, in which the QRS detector would find a
// train of false beats. A stretch of the clean signal is tested by the
// leakage of a narrow band-stop filter tuned to its own mean frequency
// (Kuo and Dillman's VF filter): a sinusoid cancels itself when added to
// itself half a period later, a train of QRS complexes does not.
class FlutterDetector {
public:
    // Appends the flutter seconds of [from, to), each tested over the
    // seconds around it, merged with a stretch that `stretches` ends with
    // when they touch.
    static void scan(const WindowSignals& w, int64_t from, int64_t to, std::vector<SampleStretch>& stretches);
    // The leakage of lead `c` over [from, to) and the mean frequency it was
    // tuned to; a pure sinusoid leaks nothing.
    struct Leakage {
        double leakage = 1.0;
        double frequencyHz = 0.0;
    };
    static Leakage leakage(const WindowSignals& w, int c, int64_t from, int64_t to);
};

}  // namespace lumen
