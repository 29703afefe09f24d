// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "print/study_page.h"
#include "print/study_report_sources.h"

namespace lumen {

// Page 2: the day on one time axis (heart rate, RR tachogram, ST of both
// channels, atrial fibrillation and artefact bands) and the Poincaré plot
// of the normal-to-normal intervals.
class StudyTrendPage {
public:
    StudyTrendPage(StudyPage& page, const StudyReportSources& sources);
    void draw();

    // Each column of the plots is this wide: finer than the pen shows.
    static constexpr int32_t kColumnWidth = 50;

private:
    struct Panel {
        int32_t top = 0;
        int32_t height = 0;
        double low = 0.0;
        double high = 0.0;
    };
    struct Range {
        double low = 0.0;
        double high = 0.0;
        bool empty() const { return high < low; }
    };

    int32_t xOfTick(int64_t tick) const;
    int32_t yOf(const Panel& panel, double value) const;
    void frame(const Panel& panel, std::string_view name, std::initializer_list<double> gridValues);
    void columnRanges(const Panel& panel, const std::vector<Range>& columns);
    std::vector<Range> emptyColumns() const;
    int32_t columnOf(int64_t tick) const;

    void drawHeartRate(const Panel& panel);
    void drawTachogram(const Panel& panel);
    void drawSt(const Panel& panel, const std::vector<int8_t>& levels, std::string_view name);
    void drawBands(int32_t top);
    void drawHourAxis(int32_t y);
    void drawPoincare(int32_t top);

    StudyPage& page_;
    const StudyReportSources& sources_;
    int32_t plotLeft_ = 0;
    int32_t plotRight_ = 0;
    int64_t lengthTicks_ = 1;
};

}  // namespace lumen
