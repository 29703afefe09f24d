// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/event_catalog.h"

#include <algorithm>
#include <string>

#include "store/event_feed.h"

namespace lumen {
namespace {

constexpr int32_t kFirstNonRemovableRow = kManualRow;
constexpr std::array<uint8_t, 4> kExtremeCodes = {kHeartRateMinimumCode, kHeartRateMaximumCode, kStMinimumCode,
                                                  kStMaximumCode};

}  // namespace

EventCatalog::EventCatalog(const LanguageTexts& texts)
    : texts_(texts), cursor_(screenLayout_, printLayout_), rowFont_(Font::make("Arial", 14, Font::boldWeight)) {
    for (int32_t r = 0; r < kCategoryRowCount; ++r) {
        const EventCodeInfo& info = EventCodeTable::category(r);
        categories_[static_cast<size_t>(r)] = std::make_unique<EventCategory>(
            r, screenLayout_, printLayout_, std::string(info.shortName), std::string(info.longName));
    }
    const std::string toPrinter(texts_.text(TextId::ToPrinter));
    categories_[kToPrinterRow] =
        std::make_unique<EventCategory>(kToPrinterRow, screenLayout_, printLayout_, toPrinter, toPrinter);
    timeScale_ = std::make_unique<TimeScaleRow>(kTimeScaleRow, screenLayout_, printLayout_, texts_);
    for (size_t r = 0; r < categories_.size(); ++r) {
        rows_[r] = categories_[r].get();
    }
    rows_[kTimeScaleRow] = timeScale_.get();
}

// A flagged event goes to the to-printer row as well as to its category.
template <typename Insert>
void EventCatalog::route(uint8_t code, int32_t positionTicks, int32_t timeOfDayTicks, Insert insert) {
    if (timeOfDayTicks == 0) {
        timeOfDayTicks = positionTicks + screenLayout_.recordingStart();
    }
    if ((code & kToPrinterFlag) != 0) {
        insert(*rows_[kToPrinterRow], timeOfDayTicks);
    }
    const int32_t row = EventCodeTable::rowOfCode(code);
    if (row >= 0) {
        insert(*rows_[static_cast<size_t>(row)], timeOfDayTicks);
    }
}

void EventCatalog::clearEvents() {
    for (auto& category : categories_) category->clear();
}

void EventCatalog::dispatchCode(uint8_t code, int32_t positionTicks, int32_t timeOfDayTicks, int32_t episodeIndex) {
    route(code, positionTicks, timeOfDayTicks,
          [&](EventSource& row, int32_t timeOfDay) { row.append(positionTicks, timeOfDay, episodeIndex); });
}

void EventCatalog::dispatchCodeSorted(uint8_t code, int32_t positionTicks, int32_t timeOfDayTicks,
                                      int32_t episodeIndex) {
    route(code, positionTicks, timeOfDayTicks,
          [&](EventSource& row, int32_t timeOfDay) { row.insertSorted(positionTicks, timeOfDay, episodeIndex); });
}

void EventCatalog::setRecordingSpan(int32_t startTimeOfDayTicks, int32_t endTimeOfDayTicks) {
    screenLayout_.setRecordingSpan(startTimeOfDayTicks, endTimeOfDayTicks);
    printLayout_.setRecordingSpan(startTimeOfDayTicks, endTimeOfDayTicks);
}

void EventCatalog::toggleZoom() {
    screenLayout_.toggleZoom(cursor_.time());
    printLayout_.toggleZoom(cursor_.time());
    cursor_.set(cursor_.time());  // its column belongs to the new window
}

void EventCatalog::selectAt(int32_t eventTime, int32_t row) {
    int32_t chosen = std::clamp(row, 0, kTimeScaleRow);
    if (rows_[static_cast<size_t>(chosen)]->seekNearest(eventTime) <= 0) {
        chosen = kTimeScaleRow;
    }
    if (EventSource* previous = selectedOrPending();
        previous != nullptr && previous != rows_[static_cast<size_t>(chosen)]) {
        previous->setSelected(false);
    }
    EventSource& target = *rows_[static_cast<size_t>(chosen)];
    selectedRow_ = chosen;
    target.setSelected(true);
    target.seekNearest(eventTime);
    selectedTimeOfDay_ = target.currentTimeOfDay();
    selectedRow_ = chosen + kPendingSelection;
}

bool EventCatalog::hitTest(Point point) const {
    const Rect& area = screenLayout_.area();
    return point.x >= area.left && point.x < area.right && point.y >= area.top && point.y < area.bottom;
}

void EventCatalog::clickAt(Point point) {
    if (EventSource* previous = selectedOrPending(); previous != nullptr) {
        previous->setSelected(false);
    }
    selectedRow_ = screenLayout_.rowAt(point.y);
    EventSource& target = *rows_[static_cast<size_t>(selectedRow_)];
    target.setSelected(true);
    // a click on a name or count cell seeks from where the cursor stands
    int32_t clickedTime = cursor_.time();
    const Rect& strip = screenLayout_.stripRect(0);
    if (strip.left < point.x && point.x < strip.right) {
        clickedTime = screenLayout_.windowStart() + screenLayout_.xToTime(point.x);
    }
    placeCursorIfFound(target.seekNearest(clickedTime));
}

bool EventCatalog::nextEvent() { return stepEvent(&EventSource::next); }

bool EventCatalog::previousEvent() { return stepEvent(&EventSource::previous); }

// An exhausted row seeks the event nearest the cursor instead.
bool EventCatalog::stepEvent(int32_t (EventSource::*step)()) {
    EventSource* row = selected();
    if (row == nullptr) {
        return false;
    }
    int32_t time = (row->*step)();
    if (time == 0) {
        time = row->seekNearest(cursor_.time());
    }
    if (time == 0) {
        return false;
    }
    cursor_.set(time);
    return true;
}

void EventCatalog::nextRow() {
    if (selectedRow_ >= 0 && selectedRow_ < kTimeScaleRow) {
        changeRow(selectedRow_ + 1);
    }
}

void EventCatalog::previousRow() {
    if (selectedRow_ > 0 && selectedRow_ <= kTimeScaleRow) {
        changeRow(selectedRow_ - 1);
    }
}

// The newly selected row has no current event, so the one nearest to the
// cursor becomes current.
void EventCatalog::changeRow(int32_t row) {
    rows_[static_cast<size_t>(selectedRow_)]->setSelected(false);
    selectedRow_ = row;
    EventSource& target = *rows_[static_cast<size_t>(row)];
    target.setSelected(true);
    placeCursorIfFound(target.seekNearest(cursor_.time()));
}

void EventCatalog::seekAfterCursor() {
    EventSource* row = selected();
    if (row == nullptr) {
        return;
    }
    int32_t time = row->seekAtOrAfter(cursor_.time());
    if (time == 0) {
        time = row->seekNearest(cursor_.time());
    }
    placeCursorIfFound(time);
}

bool EventCatalog::canRemove() const {
    const EventSource* row = selected();
    return row != nullptr && selectedRow_ < kFirstNonRemovableRow && row->count() > 0;
}

int32_t EventCatalog::removeCurrentEvent() {
    EventSource* row = selected();
    if (row == nullptr) {
        return -1;
    }
    if (selectedRow_ != kToPrinterRow) {
        rows_[kToPrinterRow]->removeAt(cursor_.time());
    }
    const int32_t episode = row->removeCurrent();
    row->setSelected(false);
    row->setSelected(true);
    // the removal feeds new artefact events, so that row is painted again
    rows_[kArtefactRow]->setSelected(true);
    rows_[kArtefactRow]->setSelected(false);
    if (selectedRow_ < kFirstExtremeRow) {
        clearExtremesValid();  // beats changed their labels
    }
    return episode;
}

void EventCatalog::dropExtremes() {
    for (int32_t r = kFirstExtremeRow; r <= kLastExtremeRow; ++r) {
        rows_[static_cast<size_t>(r)]->removeFirst();
    }
}

bool EventCatalog::refreshExtremes(ExtremesSource& extremes) {
    if (extremesValid() || !selectedIsExtreme()) {
        return false;
    }
    extremes.resetFlags();
    dropExtremes();
    if (selectedIsHeartRate()) {
        extremes.rebuildHeartRate();
    }
    for (const uint8_t code : kExtremeCodes) {
        extremes.excludeExtreme(code, *this, -1);
    }
    seekAfterCursor();
    setExtremesValid();
    return true;
}

int32_t EventCatalog::cursorPosition() const {
    return cursor_.time() == 0 ? 0 : cursor_.time() - screenLayout_.recordingStart();
}

int32_t EventCatalog::selectedTimeOfDay() {
    if (const EventSource* row = selected(); row != nullptr) {
        if (const int32_t time = row->currentTimeOfDay(); time != 0) {
            selectedTimeOfDay_ = time;
        }
    }
    return selectedTimeOfDay_;
}

std::string_view EventCatalog::selectedLongName() const {
    const EventSource* row = selected();
    return row != nullptr ? row->longName() : std::string_view{};
}

std::string_view EventCatalog::selectedShortName() const {
    const EventSource* row = selected();
    return row != nullptr ? row->shortName() : std::string_view{};
}

bool EventCatalog::selectedHasEvents() const {
    const EventSource* row = selected();
    return row != nullptr && (row->count() > 0 || selectedRow_ == kTimeScaleRow);
}

int32_t EventCatalog::selectedCount() const {
    const EventSource* row = selected();
    return row != nullptr ? row->count() : 0;
}

int32_t EventCatalog::selectedOrdinal() const {
    const EventSource* row = selected();
    return row != nullptr ? row->currentOrdinal() : 0;
}

EventSource& EventCatalog::row(int32_t row) { return *rows_[static_cast<size_t>(std::clamp(row, 0, kTimeScaleRow))]; }

const EventSource& EventCatalog::row(int32_t row) const {
    return *rows_[static_cast<size_t>(std::clamp(row, 0, kTimeScaleRow))];
}

const EventCategory* EventCatalog::category(int32_t row) const {
    return row >= 0 && row <= kToPrinterRow ? categories_[static_cast<size_t>(row)].get() : nullptr;
}

EventSource* EventCatalog::selected() const {
    return selectedRow_ >= 0 && selectedRow_ < kRowCount ? rows_[static_cast<size_t>(selectedRow_)] : nullptr;
}

EventSource* EventCatalog::selectedOrPending() const {
    const int32_t row = selectedRow_ >= kPendingSelection ? selectedRow_ - kPendingSelection : selectedRow_;
    return row >= 0 && row < kRowCount ? rows_[static_cast<size_t>(row)] : nullptr;
}

void EventCatalog::placeCursorIfFound(int32_t eventTime) {
    if (eventTime != 0) {
        cursor_.set(eventTime);
    }
}

}  // namespace lumen
