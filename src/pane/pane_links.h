// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "pane/channel_mode.h"

namespace lumen {

// The channels the ECG view shows and the stretch of its window on the
// strip: window samples firstSample .. lastSample, both included.
struct ShownStretch {
    ChannelMode channelMode = ChannelMode::Channel1;
    int32_t firstSample = 0;
    int32_t lastSample = 0;
};

// How the event browser reaches the ECG view: the shell forwards these to
// the pane that owns the strip.
class PaneLinks {
public:
    virtual ~PaneLinks() = default;

    virtual void loadStripAround(int32_t samplePosition) = 0;
    virtual void resetCaliperFirstColumn() = 0;
    // Every paint of the event browser shows both channels from then on.
    virtual void showBothChannels() = 0;
    virtual ShownStretch shownStretch() const = 0;
};

}  // namespace lumen
