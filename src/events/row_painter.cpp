// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/row_painter.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "store/clock.h"

namespace lumen {
namespace {

constexpr int32_t kTenMinuteTicks = 30000;
constexpr int32_t kHourTicks = 180000;
constexpr int32_t kCountMargin = 5;

std::string labelText(std::string_view name) {
    return "  " + std::string(name);
}

Rect countTextRect(const Rect& cell) {
    return Rect{cell.left, cell.top, cell.right - kCountMargin, cell.bottom};
}

void line(Canvas& canvas, Point from, Point to) {
    canvas.moveTo(from);
    canvas.lineTo(to);
}

void textAtTopLeft(Canvas& canvas, const Rect& cell, std::string_view text) {
    canvas.setTextAlign(TextAlign::Left | TextAlign::Top);
    canvas.textOut({cell.left, cell.top}, text);
}

void selectRowsBrush(Canvas& canvas, const TimelineLayout& layout, bool selected) {
    if (selected) {
        layout.selectSelectedRowBrush(canvas);
    } else {
        layout.selectRowBrush(canvas);
    }
}

}  // namespace

void RowPainter::paintCategory(Canvas& canvas, const TimelineLayout& layout, PaintTarget target,
                               const CategoryRowView& row) {
    const bool paper = target == PaintTarget::Paper;
    const std::string name = labelText(row.shortName);
    selectRowsBrush(canvas, layout, row.selected);
    canvas.rectangle(layout.rowRect(row.row));
    layout.frame(canvas, layout.labelRect(row.row));
    layout.frame(canvas, layout.stripRect(row.row));
    layout.frame(canvas, layout.countRect(row.row));
    if (!paper) {
        if (row.selected) {
            layout.selectRed(canvas);
        } else {
            layout.selectBlack(canvas);
        }
    }
    textAtTopLeft(canvas, layout.labelRect(row.row), name);
    paintEventTicks(canvas, layout, row);
    std::string count = std::to_string(row.events.size());
    if (paper) {
        count += "  ";
    }
    const DrawTextFormat format = paper ? DrawTextFormat::Right : DrawTextFormat::Right | DrawTextFormat::VerticalCenter;
    canvas.drawText(countTextRect(layout.countRect(row.row)), count, format);
    layout.selectBlack(canvas);
    if (paper) {
        textAtTopLeft(canvas, layout.labelRect(row.row), name);
    }
}

// Events that fall into the same pixel column as the tick drawn last make
// no further tick. In a list in time order the columns rise with the events,
// so the visible stretch and each column's run are found by binary search
// instead of visiting a whole day of beats.
void RowPainter::paintEventTicks(Canvas& canvas, const TimelineLayout& layout, const CategoryRowView& row) {
    const Rect& strip = layout.stripRect(row.row);
    const int32_t x0 = strip.left + 1;
    const int32_t height = strip.bottom - strip.top;
    const int32_t length = row.selected ? height * 10 / 11 : height * 7 / 10;
    const int32_t start = layout.recordingStart();
    const auto timeOf = [start](const EventNode& event) { return event.positionTicks + start; };
    const auto visible = [&](const EventNode& event) {
        return timeOf(event) >= layout.windowStart() && timeOf(event) <= layout.windowEnd();
    };
    int32_t lastX = -1;
    const auto tick = [&](const EventNode& event) {
        const int32_t x = layout.timeToX(timeOf(event));
        if (x != lastX) {
            line(canvas, {x0 + x, strip.bottom - 2}, {x0 + x, strip.bottom - length});
            lastX = x;
        }
        return x;
    };
    if (!row.ordered) {
        for (const EventNode& event : row.events) {
            if (visible(event)) {
                tick(event);
            }
        }
        return;
    }
    auto it = std::partition_point(row.events.begin(), row.events.end(),
                                   [&](const EventNode& event) { return timeOf(event) < layout.windowStart(); });
    while (it != row.events.end() && visible(*it)) {
        const int32_t x = tick(*it);
        it = std::partition_point(it, row.events.end(),
                                  [&](const EventNode& event) { return layout.timeToX(timeOf(event)) == x; });
    }
}

void RowPainter::paintTimeScale(Canvas& canvas, const TimelineLayout& layout, PaintTarget target,
                                const TimeScaleRowView& row) {
    const bool paper = target == PaintTarget::Paper;
    const Rect& name = layout.labelRect(row.row);
    const Rect& strip = layout.stripRect(row.row);
    const Rect& count = layout.countRect(row.row);
    if (!paper) {
        layout.selectBlack(canvas);
    }
    selectRowsBrush(canvas, layout, row.selected);
    canvas.rectangle(layout.rowRect(row.row));
    layout.frame(canvas, name);
    layout.frame(canvas, strip);
    textAtTopLeft(canvas, name, row.label);
    layout.selectRed(canvas);
    paintScaleTicks(canvas, layout, target, row);

    layout.selectBlack(canvas);
    if (paper) {
        layout.selectRowBrush(canvas);
        selectRowsBrush(canvas, layout, row.selected);
    }
    canvas.rectangle(count);
    layout.frame(canvas, count);
    if (!paper) {
        canvas.setTextColor(row.selected ? rgb(255, 0, 0) : blackColor);
    }
    writeRecordingLength(canvas, layout, count, paper ? "  " : "");

    layout.selectBlack(canvas);
    if (paper) {
        layout.selectRowBrush(canvas);
        selectRowsBrush(canvas, layout, row.selected);
        canvas.rectangle(name);
    } else {
        canvas.rectangle(name);
        selectRowsBrush(canvas, layout, row.selected);
        if (row.selected) {
            layout.selectGreyPen(canvas);
        } else {
            layout.selectLightPen(canvas);
        }
        canvas.rectangle(Rect{name.left, name.top, name.right, name.bottom - 1});
    }
    layout.frame(canvas, name);
    layout.frame(canvas, strip);
    canvas.setTextColor(!paper && row.selected ? rgb(255, 0, 0) : blackColor);
    textAtTopLeft(canvas, name, row.label);
}

void RowPainter::paintScaleTicks(Canvas& canvas, const TimelineLayout& layout, PaintTarget target,
                                 const TimeScaleRowView& row) {
    const Rect& strip = layout.stripRect(row.row);
    int32_t t = firstScaleTickTime(layout.windowStart());
    int32_t k = (t / kTenMinuteTicks) % 6;
    for (; t < layout.windowEnd(); t += kTenMinuteTicks) {
        const Point at{strip.left + layout.timeToX(t), strip.top};
        paintScaleTick(canvas, layout, target, row.selected, at, t / kHourTicks, k);
        k = (k + 1) % 6;
    }
}

void RowPainter::paintScaleTick(Canvas& canvas, const TimelineLayout& layout, PaintTarget target, bool selected,
                                Point at, int32_t hour, int32_t k) {
    const int32_t length = scaleTickLength(layout, k);
    const Point end{at.x, at.y + length};
    int32_t labelOffset = scaleTickLength(layout, 0) + 2;
    if (target == PaintTarget::Paper) {
        layout.selectWhitePen(canvas);
        line(canvas, at, end);
        layout.selectBlack(canvas);
        line(canvas, {at.x + 1, at.y}, {end.x + 1, end.y});
    } else {
        // white then black beside it gives an embossed tick
        if (selected) {
            layout.selectRed(canvas);
        } else {
            layout.selectWhitePen(canvas);
        }
        line(canvas, at, end);
        if (!selected) {
            layout.selectBlack(canvas);
            line(canvas, {at.x + 1, at.y}, {end.x + 1, end.y});
        }
        canvas.setTextColor(selected ? rgb(255, 0, 0) : blackColor);
        labelOffset = scaleTickLength(layout, 2) + 2;
    }
    if (k != 0) {
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02d", hour % 24);
    canvas.setTextAlign(TextAlign::Center | TextAlign::Top);
    canvas.textOut({at.x, at.y + labelOffset}, text);
    canvas.setTextAlign(TextAlign::Left | TextAlign::Top);
}

int32_t RowPainter::scaleTickLength(const TimelineLayout& layout, int32_t k) {
    const Rect& name = layout.labelRect(0);
    const int32_t h = name.bottom - name.top;
    return k == 0 ? h * 4 / 10 : (h * 25 + 100) / 100;
}

int32_t RowPainter::firstScaleTickTime(int32_t eventTime) {
    const int32_t t = eventTime + kTenMinuteTicks - 1;
    return t - t % kTenMinuteTicks;
}

void RowPainter::writeRecordingLength(Canvas& canvas, const TimelineLayout& layout, const Rect& countCell,
                                      std::string_view trailer) {
    const int32_t seconds = layout.recordingLength() / kTicksPerSecond;
    char text[48];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / kSecondsPerHour, (seconds / kSecondsPerMinute) % 60, seconds % 60);
    canvas.drawText(countTextRect(countCell), std::string(text) + std::string(trailer), DrawTextFormat::Right);
}

}  // namespace lumen
