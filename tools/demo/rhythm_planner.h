// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "demo/demo_random.h"
#include "assembly/rhythm_plan.h"

namespace lumen {

// Lays out a day of the synthetic patient: circadian sinus rhythm with
// activity bursts and beat-to-beat variability, the ectopic patterns behind
// every arrhythmia code, pauses, disturbances, ST episodes and markers.
class RhythmPlanner {
public:
    RhythmPlanner(int32_t hours, uint32_t seed);
    RhythmPlan plan();

private:
    struct PendingEvent {
        double seconds = 0.0;
        uint8_t code = 0;
    };
    struct Burst {
        double startSeconds = 0.0;
        double endSeconds = 0.0;
        double extraBpm = 0.0;
    };

    void placeStretches();
    void addStretch(StretchKind kind, double startSeconds, double lengthSeconds, double level1, double level2);
    void scheduleEvents();
    void generateBeats();
    double fireEvent(uint8_t code, double previous, double sinusRr);
    double emitEctopicTrain(uint8_t code, double first, int count, double intervalSeconds, BeatShape shape);
    void emit(double seconds, BeatShape shape);
    void openEpisode(uint8_t code);
    void closeEpisode();
    void markDisturbedBeats();
    void placeMarkers();
    void flagEpisodes();
    bool disturbedNear(double fromSeconds, double toSeconds) const;
    double heartRateAt(double seconds) const;
    double sinusInterval(double seconds);

    RhythmPlan plan_;
    DemoRandom random_;
    double durationSeconds_ = 0.0;
    std::vector<Burst> bursts_;
    std::vector<PendingEvent> pending_;
    double variability_ = 0.0;
    double respirationPhase_ = 0.0;
};

}  // namespace lumen
