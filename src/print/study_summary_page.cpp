// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/study_summary_page.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "print/report_box.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr int32_t kColumnGap = 1000;
constexpr int32_t kSectionGap = 300;
constexpr int32_t kHeadingHeight = 800;

template <typename... Values>
std::string print(const char* format, Values... values) {
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string microvolts(const std::optional<double>& value) {
    return value ? print("%.0f \xC2\xB5V", *value) : std::string("none");
}

}  // namespace

StudySummaryPage::StudySummaryPage(StudyPage& page, const StudyReportSources& sources)
    : page_(page), sources_(sources), f_(sources.figures) {}

std::string StudySummaryPage::at(int64_t positionTicks) const { return clockAt(f_.startTickOfDay, positionTicks); }

void StudySummaryPage::row(int32_t& y, std::string_view label, const std::string& value) {
    page_.row(columnX_, columnWidth_, y, label, value);
    y -= StudyPage::kLineHeight;
}

void StudySummaryPage::draw() {
    const int32_t top = drawHeader();
    const int32_t half = (page_.right() - page_.left() - kColumnGap) / 2;
    columnWidth_ = half;
    columnX_ = page_.left();
    const int32_t leftEnd = drawLeftColumn(top);
    columnX_ = page_.left() + half + kColumnGap;
    const int32_t rightEnd = drawRightColumn(top);
    drawSignature(std::min(leftEnd, rightEnd) - kSectionGap);
}

int32_t StudySummaryPage::drawHeader() {
    constexpr int32_t kBoxTop = -1000;
    constexpr int32_t kBoxHeight = 2000;
    drawReportBox(page_.canvas(), page_.tools(), Point{page_.left(), kBoxTop},
                  Size{page_.right() - page_.left(), kBoxHeight}, BoxFill::LightGrey);
    page_.title(Point{page_.left() + 400, kBoxTop - 150}, "HOLTER STUDY REPORT");
    page_.text(Point{page_.right() - 400, kBoxTop - 250}, TextAlign::Right, sources_.patientLine);
    const std::string date = f_.startDate ? f_.startDate->iso() + " " + at(0) : at(0) + " (date not recorded)";
    page_.text(Point{page_.left() + 400, kBoxTop - 900}, TextAlign::Left,
               "Recording start: " + date + "    Duration: " + hoursMinutes(f_.durationSeconds) +
                   "    Analysed: " + hoursMinutes(f_.analysedSeconds));
    page_.text(Point{page_.left() + 400, kBoxTop - 1400}, TextAlign::Left,
               print("Beats: %lld    N %lld    S %lld    V %lld    Artefact %lld", static_cast<long long>(f_.beats),
                     static_cast<long long>(f_.beatsByClass[0]), static_cast<long long>(f_.beatsByClass[1]),
                     static_cast<long long>(f_.beatsByClass[2]), static_cast<long long>(f_.beatsByClass[3])));
    return kBoxTop - kBoxHeight - 700;
}

void StudySummaryPage::drawEctopy(int32_t& y, std::string_view heading, const EctopyFigures& e, bool withBigeminy) {
    page_.heading(columnX_, columnWidth_, y, heading);
    y -= kHeadingHeight;
    // Per hour of analysed signal; a recording of beats alone has none, and
    // counts per hour of its length.
    const int64_t seconds = f_.analysedSeconds > 0 ? f_.analysedSeconds : f_.durationSeconds;
    const double hours = static_cast<double>(seconds) / lumen::kSecondsPerHour;
    row(y, "Total",
        print("%lld (%.1f per hour)", static_cast<long long>(e.total),
              hours > 0.0 ? static_cast<double>(e.total) / hours : 0.0));
    row(y, "Isolated", print("%lld", static_cast<long long>(e.isolated)));
    row(y, "Couplets", print("%lld", static_cast<long long>(e.couplets)));
    row(y, "Runs (3 to 7 beats)", print("%lld", static_cast<long long>(e.runs)));
    row(y, "Tachycardias (8 beats or more)", print("%lld", static_cast<long long>(e.tachycardias)));
    if (withBigeminy) row(y, "Bigeminy episodes", print("%lld", static_cast<long long>(e.bigeminy)));
    if (e.longestRunBeats > 0) {
        row(y, "Longest run", print("%d beats at %s", e.longestRunBeats, at(e.longestRunTick).c_str()));
        row(y, "Fastest run", print("%d b/min at %s", e.fastestRunRate, at(e.fastestRunTick).c_str()));
    }
    y -= kSectionGap;
}

int32_t StudySummaryPage::drawLeftColumn(int32_t y) {
    page_.heading(columnX_, columnWidth_, y, "Heart rate");
    y -= kHeadingHeight;
    const HeartRateFigures& hr = f_.heartRate;
    if (hr.valid()) {
        row(y, "Minimum", print("%d b/min at %s", hr.minimum, at(hr.minimumTick).c_str()));
        row(y, "Mean", print("%d b/min", hr.mean));
        row(y, "Maximum", print("%d b/min at %s", hr.maximum, at(hr.maximumTick).c_str()));
    } else {
        row(y, "Heart rate", "none measured");
    }
    y -= kSectionGap;
    drawEctopy(y, "Ventricular ectopy", f_.ventricular, true);
    drawEctopy(y, "Supraventricular ectopy", f_.supraventricular, false);
    return y;
}

int32_t StudySummaryPage::drawRightColumn(int32_t y) {
    if (f_.fibrillation.episodes > 0) {
        page_.heading(columnX_, columnWidth_, y, "Atrial fibrillation");
        y -= kHeadingHeight;
        row(y, "Burden", print("%.1f %%", f_.fibrillation.burdenPercent));
        row(y, "Episodes", print("%lld", static_cast<long long>(f_.fibrillation.episodes)));
        row(y, "Longest", hoursMinutes(static_cast<int64_t>(f_.fibrillation.longestSeconds)));
        row(y, "Mean rate in fibrillation", print("%d b/min", f_.fibrillation.meanRate));
        y -= kSectionGap;
    }
    page_.heading(columnX_, columnWidth_, y, "Pauses");
    y -= kHeadingHeight;
    row(y, "2.0 s or longer", print("%lld", static_cast<long long>(f_.pauses.count)));
    if (f_.pauses.count > 0)
        row(y, "Longest", print("%.2f s at %s", f_.pauses.longestMs / 1000.0, at(f_.pauses.longestTick).c_str()));
    y -= kSectionGap;
    page_.heading(columnX_, columnWidth_, y, "ST level");
    y -= kHeadingHeight;
    for (size_t c = 0; c < f_.st.size(); ++c) {
        const StFigures& st = f_.st[c];
        const std::string channel = print("Channel %zu ", c + 1);
        row(y, channel + "minimum",
            microvolts(st.minimumMicrovolts) + (st.minimumMicrovolts ? " at " + at(st.minimumTick) : ""));
        row(y, channel + "maximum",
            microvolts(st.maximumMicrovolts) + (st.maximumMicrovolts ? " at " + at(st.maximumTick) : ""));
    }
    y -= kSectionGap;
    const VariabilityFigures& v = f_.variability;
    page_.heading(columnX_, columnWidth_, y, "Heart-rate variability");
    y -= kHeadingHeight;
    row(y, "SDNN", print("%.1f ms", v.sdnnMs));
    row(y, "SDANN", print("%.1f ms", v.sdannMs));
    row(y, "SDNN index", print("%.1f ms", v.sdnnIndexMs));
    row(y, "RMSSD", print("%.1f ms", v.rmssdMs));
    row(y, "pNN50", print("%.2f %%", v.pnn50Percent));
    row(y, "LF (0.04-0.15 Hz)", print("%.0f ms\xC2\xB2", v.lfMs2));
    row(y, "HF (0.15-0.4 Hz)", print("%.0f ms\xC2\xB2", v.hfMs2));
    row(y, "LF/HF", print("%.2f", v.lfHfRatio));
    return y;
}

// The interpretation, wrapped into its box, then the reviewer's name, the
// date and a line to sign on.
void StudySummaryPage::drawSignature(int32_t y) {
    const int32_t width = page_.right() - page_.left();
    page_.heading(page_.left(), width, y, "Interpretation");
    y -= kHeadingHeight;
    constexpr int32_t kSignatureRoom = 2600;
    const int32_t boxBottom = page_.bottom() + kSignatureRoom;
    page_.canvas().rectangle(Rect{page_.left(), y, page_.right(), boxBottom});
    int32_t lineY = y - 250;
    for (const std::string& line : page_.wrap(sources_.interpretation, width - 400)) {
        if (lineY - StudyPage::kLineHeight < boxBottom) break;
        page_.text(Point{page_.left() + 200, lineY}, TextAlign::Left, line);
        lineY -= StudyPage::kLineHeight;
    }
    const int32_t signY = page_.bottom() + 1600;
    page_.text(Point{page_.left(), signY}, TextAlign::Left,
               "Reviewer: " + (sources_.reviewer.empty() ? std::string("______________________") : sources_.reviewer));
    page_.text(Point{page_.left() + width / 2 - 1500, signY}, TextAlign::Left, "Date: " + sources_.reportDate);
    page_.text(Point{page_.right() - 6000, signY}, TextAlign::Left, "Signature:");
    page_.line(Point{page_.right() - 4000, signY - 400}, Point{page_.right(), signY - 400});
}

}  // namespace lumen
