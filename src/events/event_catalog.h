// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "events/event_category.h"
#include "events/event_code_table.h"
#include "events/event_source.h"
#include "events/extremes_source.h"
#include "events/time_cursor.h"
#include "events/time_scale_row.h"
#include "events/timeline_layout.h"
#include "lang/language_texts.h"
#include "platform/draw/canvas.h"
#include "platform/draw/font.h"
#include "store/event_sink.h"

namespace lumen {

// Everything the analysis found in the recording, in nineteen rows, with
// the user's selection (one row and its current event) and the time cursor.
// Before the first full paint the selection is -1; a start-up selection is
// kept as row + 100 until the next full paint places the cursor on it.
// The language texts must outlive the catalog (the time-scale row reads
// its name from them at every call).
class EventCatalog final : public EventSink {
public:
    static constexpr int32_t kNoSelection = -1;
    static constexpr int32_t kPendingSelection = 100;

    explicit EventCatalog(const LanguageTexts& texts);

    void dispatchCode(uint8_t code, int32_t positionTicks, int32_t timeOfDayTicks, int32_t episodeIndex) override;
    void dispatchCodeSorted(uint8_t code, int32_t positionTicks, int32_t timeOfDayTicks, int32_t episodeIndex) override;
    void setRecordingSpan(int32_t startTimeOfDayTicks, int32_t endTimeOfDayTicks) override;

    void setScreenArea(const Rect& area) { screenLayout_.setArea(area); }
    void setPrintArea(const Rect& area) { printLayout_.setArea(area); }
    // The shell's row font (bold "Arial", 17 or 14 pixels by display class).
    void setRowFont(const Font& font) { rowFont_ = font; }

    void paintAll(Canvas& canvas, PaintTarget target);
    void repaintChanged(Canvas& canvas);

    void toggleZoom();
    void selectAt(int32_t eventTime, int32_t row);
    bool hitTest(Point point) const;
    void clickAt(Point point);
    bool nextEvent();      // true when the cursor was placed
    bool previousEvent();  // true when the cursor was placed
    void nextRow();
    void previousRow();
    void seekAfterCursor();
    bool canRemove() const;
    int32_t removeCurrentEvent();  // → episode index, -1 when none
    void dropExtremes();
    // Empties every row but the time scale, for the events to be fed again
    // (after the episodes were derived again from corrected beats); the
    // selected row stays, its cursor goes.
    void clearEvents();
    // Finds the heart-rate and ST extremes afresh when beats changed since
    // the last search and an extreme row is selected; true when it ran (the
    // caller then notes a label change and repaints everything).
    bool refreshExtremes(ExtremesSource& extremes);

    int32_t cursorTime() const { return cursor_.time(); }
    int32_t cursorPosition() const;
    int32_t selectedTimeOfDay();
    uint8_t selectedCode() const { return EventCodeTable::extremeCodeOfRow(selectedRow_); }
    std::string_view selectedLongName() const;
    std::string_view selectedShortName() const;
    bool selectedHasEvents() const;
    int32_t selectedCount() const;
    int32_t selectedOrdinal() const;
    int32_t selectedRow() const { return selectedRow_; }
    bool selectedIsHeartRate() const {
        return selectedRow_ == kHeartRateMinimumRow || selectedRow_ == kHeartRateMaximumRow;
    }
    bool selectedIsSt() const { return selectedRow_ == kStMinimumRow || selectedRow_ == kStMaximumRow; }
    bool selectedIsExtreme() const { return selectedRow_ >= kFirstExtremeRow && selectedRow_ <= kLastExtremeRow; }
    bool extremesValid() const { return screenLayout_.extremesValid(); }
    void setExtremesValid() { screenLayout_.setExtremesValid(true); }
    void clearExtremesValid() { screenLayout_.setExtremesValid(false); }

    EventSource& row(int32_t row);  // clamped to 0..18
    const EventSource& row(int32_t row) const;
    // Rows 0..17 with their events; nullptr for any other number.
    const EventCategory* category(int32_t row) const;
    const TimelineLayout& screenLayout() const { return screenLayout_; }
    const TimelineLayout& printLayout() const { return printLayout_; }
    const TimeCursor& timeCursor() const { return cursor_; }

private:
    bool stepEvent(int32_t (EventSource::*step)());
    EventSource* selected() const;
    EventSource* selectedOrPending() const;
    void placeCursorIfFound(int32_t eventTime);
    void resolveSelection();
    void changeRow(int32_t row);
    template <typename Insert>
    void route(uint8_t code, int32_t positionTicks, int32_t timeOfDayTicks, Insert insert);

    const LanguageTexts& texts_;
    TimelineLayout screenLayout_;
    TimelineLayout printLayout_;
    TimeCursor cursor_;
    std::array<std::unique_ptr<EventCategory>, kCategoryRowCount + 1> categories_;
    std::unique_ptr<TimeScaleRow> timeScale_;
    std::array<EventSource*, kRowCount> rows_{};
    Font rowFont_;
    int32_t selectedRow_ = kNoSelection;
    int32_t selectedTimeOfDay_ = 0;
};

}  // namespace lumen
