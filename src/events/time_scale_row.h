// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string_view>

#include "events/event_source.h"
#include "events/timeline_layout.h"
#include "lang/language_texts.h"

namespace lumen {

// The free time axis below the event rows: it holds no events and steps
// through the recording in whole seconds.
class TimeScaleRow final : public EventSource {
public:
    TimeScaleRow(int32_t row, TimelineLayout& screenLayout, const TimelineLayout& printLayout,
                 const LanguageTexts& texts)
        : row_(row), screenLayout_(screenLayout), printLayout_(printLayout), texts_(texts) {}

    void setSelected(bool on) override;
    void paint(Canvas& canvas, PaintTarget target) override;
    void clear() override {}
    void append(int32_t, int32_t, int32_t) override {}
    void insertSorted(int32_t, int32_t, int32_t) override {}
    int32_t seekNearest(int32_t eventTime) override;
    int32_t next() override;
    int32_t previous() override;
    int32_t first() override;
    int32_t count() const override { return 0; }
    int32_t currentTime() const override { return current_; }
    std::string_view longName() const override;
    std::string_view shortName() const override { return {}; }
    bool needsRepaint() const override { return !painted_; }
    int32_t currentTimeOfDay() const override { return current_; }
    int32_t currentOrdinal() const override { return 0; }
    int32_t removeAt(int32_t) override { return 0; }
    int32_t removeCurrent() override { return 0; }
    int32_t removeFirst() override { return 0; }
    bool isEmpty() const override { return true; }
    void renumber() override {}
    int32_t seekAtOrAfter(int32_t eventTime) override;

    int32_t row() const { return row_; }
    bool selected() const { return selected_; }

private:
    int32_t start() const { return screenLayout_.recordingStart(); }
    int32_t end() const { return screenLayout_.recordingEnd(); }
    int32_t currentWithWindowCheck();

    int32_t row_;
    TimelineLayout& screenLayout_;
    const TimelineLayout& printLayout_;
    const LanguageTexts& texts_;
    int32_t current_ = 0;
    bool painted_ = false;
    bool selected_ = false;
};

}  // namespace lumen
