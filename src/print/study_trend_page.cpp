// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/study_trend_page.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "store/time_units.h"
#include "store/trend_table.h"
#include "study/heart_rate_blocks.h"
#include "study/heart_rate_variability.h"
#include "study/study_calculator.h"

namespace lumen {
namespace {

constexpr int32_t kAxisRoom = 1500;
constexpr int32_t kPanelGap = 600;
constexpr int32_t kBlocksPerPoint = 30;  // five minutes
constexpr int32_t kBandHeight = 500;
constexpr int32_t kPoincareSize = 6000;
constexpr double kPoincareLowMs = 300.0;
constexpr double kPoincareHighMs = 2000.0;
constexpr int32_t kPoincareCell = 50;
const Brush kArtefactBrush = Brush::solid(rgb(160, 160, 160));

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

}  // namespace

StudyTrendPage::StudyTrendPage(StudyPage& page, const StudyReportSources& sources)
    : page_(page),
      sources_(sources),
      plotLeft_(page.left() + kAxisRoom),
      plotRight_(page.right()),
      lengthTicks_(std::max(1, sources.input.lengthTicks)) {}

int32_t StudyTrendPage::xOfTick(int64_t tick) const {
    return plotLeft_ +
           static_cast<int32_t>(std::clamp<int64_t>(tick, 0, lengthTicks_) * (plotRight_ - plotLeft_) / lengthTicks_);
}

int32_t StudyTrendPage::columnOf(int64_t tick) const { return (xOfTick(tick) - plotLeft_) / kColumnWidth; }

std::vector<StudyTrendPage::Range> StudyTrendPage::emptyColumns() const {
    return std::vector<Range>(static_cast<size_t>((plotRight_ - plotLeft_) / kColumnWidth + 1), Range{1.0, 0.0});
}

int32_t StudyTrendPage::yOf(const Panel& panel, double value) const {
    const double share = (std::clamp(value, panel.low, panel.high) - panel.low) / (panel.high - panel.low);
    return panel.top - panel.height + static_cast<int32_t>(share * panel.height);
}

void StudyTrendPage::frame(const Panel& panel, std::string_view name, std::initializer_list<double> gridValues) {
    Canvas& canvas = page_.canvas();
    canvas.selectPen(page_.tools().finePen);
    canvas.selectBrush(Brush::null());
    canvas.rectangle(Rect{plotLeft_, panel.top, plotRight_, panel.top - panel.height});
    const Font previous = canvas.selectFont(page_.tools().smallFont);
    page_.text(Point{plotLeft_, panel.top + 330}, TextAlign::Left, name);
    for (const double value : gridValues) {
        const int32_t y = yOf(panel, value);
        for (int32_t x = plotLeft_; x < plotRight_; x += 200) page_.line(Point{x, y}, Point{x + 60, y});
        page_.text(Point{plotLeft_ - 100, y + 120}, TextAlign::Right, number(value));
    }
    canvas.selectFont(previous);
}

void StudyTrendPage::columnRanges(const Panel& panel, const std::vector<Range>& columns) {
    page_.canvas().selectPen(page_.tools().mediumPen);
    for (size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].empty()) continue;
        const int32_t x = plotLeft_ + static_cast<int32_t>(c) * kColumnWidth + kColumnWidth / 2;
        const int32_t low = yOf(panel, columns[c].low);
        const int32_t high = std::max(yOf(panel, columns[c].high), low + 20);
        page_.line(Point{x, low}, Point{x, high});
    }
    page_.canvas().selectPen(page_.tools().finePen);
}

void StudyTrendPage::draw() {
    page_.title(Point{page_.left(), -1000}, "Trends");
    int32_t top = -2200;
    const Panel heartRate{top, 4000, 0.0, 200.0};
    drawHeartRate(heartRate);
    top -= heartRate.height + kPanelGap;
    const Panel tachogram{top, 3000, 0.0, 2000.0};
    drawTachogram(tachogram);
    top -= tachogram.height + kPanelGap;
    const Panel st1{top, 2000, -500.0, 500.0};
    drawSt(st1, sources_.input.stChannel1, "ST 1 (\xC2\xB5V)");
    top -= st1.height + kPanelGap;
    const Panel st2{top, 2000, -500.0, 500.0};
    drawSt(st2, sources_.input.stChannel2, "ST 2 (\xC2\xB5V)");
    top -= st2.height + kPanelGap;
    drawBands(top);
    top -= 2 * kBandHeight + 200;
    drawHourAxis(top);
    drawPoincare(top - 1400);
}

// Five minutes to a line: the lowest to the highest block rate, and a mark
// at their beat-weighted mean.
void StudyTrendPage::drawHeartRate(const Panel& panel) {
    frame(panel, "Heart rate (b/min)", {50.0, 100.0, 150.0});
    const HeartRateBlocks blocks(sources_.input.words, sources_.input.blockCount());
    const std::vector<uint8_t> noExclusions;
    Canvas& canvas = page_.canvas();
    for (int32_t first = 0; first < sources_.input.blockCount(); first += kBlocksPerPoint) {
        const HeartRateFigures rate = blocks.summarise(noExclusions, first, first + kBlocksPerPoint);
        if (!rate.valid()) continue;
        const int32_t x = xOfTick(int64_t{first} * kSamplesPerBlock);
        canvas.selectPen(page_.tools().mediumPen);
        page_.line(Point{x, yOf(panel, rate.minimum)}, Point{x, yOf(panel, rate.maximum) + 1});
        canvas.selectPen(page_.tools().boldPen);
        page_.line(Point{x - 30, yOf(panel, rate.mean)}, Point{x + 30, yOf(panel, rate.mean)});
    }
    canvas.selectPen(page_.tools().finePen);
}

void StudyTrendPage::drawTachogram(const Panel& panel) {
    frame(panel, "RR (ms)", {500.0, 1000.0, 1500.0});
    std::vector<Range> columns = emptyColumns();
    const auto& words = sources_.input.words;
    for (size_t i = 1; i < words.size(); ++i) {
        if (!isRateBeat(words[i - 1]) || !isRateBeat(words[i])) continue;
        const double ms = (double{static_cast<double>(words[i].positionQuarterTicks())} -
                           static_cast<double>(words[i - 1].positionQuarterTicks())) *
                          kMillisecondsPerQuarterTick;
        const auto c = static_cast<size_t>(columnOf(ticksOfQuarterTicks(words[i].positionQuarterTicks())));
        if (c >= columns.size()) continue;
        Range& r = columns[c];
        r = r.empty() ? Range{ms, ms} : Range{std::min(r.low, ms), std::max(r.high, ms)};
    }
    columnRanges(panel, columns);
}

void StudyTrendPage::drawSt(const Panel& panel, const std::vector<int8_t>& levels, std::string_view name) {
    frame(panel, name, {-250.0, 0.0, 250.0});
    std::vector<Range> columns = emptyColumns();
    for (size_t b = 0; b < levels.size(); ++b) {
        if (levels[b] == TrendTable::kNoSt) continue;
        const double microvolts = levels[b] * StudyCalculator::kMicrovoltsPerStStep;
        const auto c = static_cast<size_t>(columnOf(static_cast<int64_t>(b) * kSamplesPerBlock));
        if (c >= columns.size()) continue;
        Range& r = columns[c];
        r = r.empty() ? Range{microvolts, microvolts}
                      : Range{std::min(r.low, microvolts), std::max(r.high, microvolts)};
    }
    columnRanges(panel, columns);
}

void StudyTrendPage::drawBands(int32_t top) {
    Canvas& canvas = page_.canvas();
    const Font previous = canvas.selectFont(page_.tools().smallFont);
    page_.text(Point{page_.left(), top}, TextAlign::Left, "AF");
    page_.text(Point{page_.left(), top - kBandHeight}, TextAlign::Left, "Artefact");
    canvas.selectFont(previous);
    canvas.selectBrush(Brush::null());
    canvas.rectangle(Rect{plotLeft_, top, plotRight_, top - 2 * kBandHeight});
    for (const auto& [start, end] : sources_.input.fibrillationTicks)
        canvas.fillRect(Rect{xOfTick(start), top, std::max(xOfTick(end), xOfTick(start) + 10), top - kBandHeight},
                        Brush::black());
    const int32_t artefactTop = top - kBandHeight;
    const auto& flags = sources_.input.trendFlags;
    for (size_t b = 0; b < flags.size(); ++b) {
        if ((flags[b] & TrendTable::kAnalysisFlag) == 0) continue;
        const int64_t start = static_cast<int64_t>(b) * kSamplesPerBlock;
        canvas.fillRect(
            Rect{xOfTick(start), artefactTop, std::max(xOfTick(start + kSamplesPerBlock), xOfTick(start) + 10),
                 artefactTop - kBandHeight},
            kArtefactBrush);
    }
    for (const auto& [start, end] : sources_.input.artefactTicks)
        canvas.fillRect(
            Rect{xOfTick(start), artefactTop, std::max(xOfTick(end), xOfTick(start) + 10), artefactTop - kBandHeight},
            kArtefactBrush);
}

// Clock times under the plots: the finest of 10 minutes, half an hour,
// one or two hours that leaves at most a dozen labels.
void StudyTrendPage::drawHourAxis(int32_t y) {
    constexpr int32_t kMostLabels = 13;
    constexpr int32_t kStepsTicks[] = {10 * kTicksPerMinute, 30 * kTicksPerMinute, kTicksPerHour, 2 * kTicksPerHour};
    int32_t step = kStepsTicks[std::size(kStepsTicks) - 1];
    for (const int32_t s : kStepsTicks) {
        if (lengthTicks_ / s < kMostLabels) {
            step = s;
            break;
        }
    }
    Canvas& canvas = page_.canvas();
    const Font previous = canvas.selectFont(page_.tools().smallFont);
    const int32_t start = sources_.figures.startTickOfDay;
    for (int64_t tick = (start / step + 1) * int64_t{step} - start; tick <= lengthTicks_; tick += step) {
        const int32_t x = xOfTick(tick);
        page_.line(Point{x, y}, Point{x, y + 150});
        const std::string clock = clockAt(start, tick);
        page_.text(Point{x, y - 50}, TextAlign::Center, clock.substr(0, 5));
    }
    canvas.selectFont(previous);
}

// Each normal-to-normal interval against the next one, on a grid of cells
// of half a millimetre: a day's hundred thousand points stay one mark per cell.
void StudyTrendPage::drawPoincare(int32_t top) {
    Canvas& canvas = page_.canvas();
    const int32_t left = plotLeft_;
    page_.text(Point{page_.left(), top + 600}, TextAlign::Left,
               "Poincar\xC3\xA9 plot: RR n+1 against RR n (ms), normal beats");
    canvas.selectBrush(Brush::null());
    canvas.rectangle(Rect{left, top, left + kPoincareSize, top - kPoincareSize});
    const int32_t cells = kPoincareSize / kPoincareCell;
    std::vector<bool> filled(static_cast<size_t>(cells * cells), false);
    const auto cellOf = [&](double ms) {
        return static_cast<int32_t>((ms - kPoincareLowMs) / (kPoincareHighMs - kPoincareLowMs) * cells);
    };
    const std::vector<NormalInterval> intervals = HeartRateVariability::normalIntervals(sources_.input.words);
    for (size_t i = 1; i < intervals.size(); ++i) {
        if (!intervals[i].sharesBeatWithPrevious) continue;
        const int32_t cx = std::clamp(cellOf(intervals[i - 1].ms), 0, cells - 1);
        const int32_t cy = std::clamp(cellOf(intervals[i].ms), 0, cells - 1);
        if (filled[static_cast<size_t>(cy * cells + cx)]) continue;
        filled[static_cast<size_t>(cy * cells + cx)] = true;
        const int32_t x = left + cx * kPoincareCell;
        const int32_t y = top - kPoincareSize + cy * kPoincareCell;
        canvas.fillRect(Rect{x, y + kPoincareCell, x + kPoincareCell, y}, Brush::black());
    }
    const Font previous = canvas.selectFont(page_.tools().smallFont);
    for (const double ms : {500.0, 1000.0, 1500.0}) {
        const int32_t at =
            static_cast<int32_t>((ms - kPoincareLowMs) / (kPoincareHighMs - kPoincareLowMs) * kPoincareSize);
        page_.text(Point{left + at, top - kPoincareSize - 50}, TextAlign::Center, number(ms));
        page_.text(Point{left - 100, top - kPoincareSize + at + 120}, TextAlign::Right, number(ms));
    }
    canvas.selectFont(previous);
}

}  // namespace lumen
