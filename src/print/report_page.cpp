// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_page.h"

#include <cstdio>

#include "lang/language_texts.h"
#include "lang/text_format.h"
#include "print/report_box.h"
#include "print/report_catalog.h"
#include "print/report_strip_painter.h"

namespace lumen {

ReportPage::ReportPage(Canvas& canvas, const ReportTools& tools, const LanguageTexts& texts)
    : canvas_(canvas), tools_(tools), texts_(texts) {}

// Language entries are format texts of the language table.
std::string ReportPage::format(TextId entry, auto... values) const {
    constexpr size_t kLineBytes = 255;
    const std::string text = lumen::format(texts_, entry, values...);
    return text.size() <= kLineBytes ? text : text.substr(0, kLineBytes);
}

void ReportPage::textAt(Point at, TextAlign align, const std::string& text) {
    canvas_.setTextAlign(align);
    canvas_.textOut(at, text);
}

void ReportPage::draw(const ReportFacts& facts, const ReportStrip& strip, EventCatalog& catalog) {
    canvas_.setMapMode(MapMode::HundredthMillimetre);
    canvas_.selectPen(tools_.boldPen);
    drawHeader(facts);
    drawStatistics(facts);
    drawChart(catalog);
    drawEventData(facts, strip);
    ReportStripPainter(canvas_, tools_, strip, kStripTopLeft).paint();
}

void ReportPage::drawHeader(const ReportFacts& facts) {
    drawReportBox(canvas_, tools_, Point{1000, -230}, Size{18000, 1400}, BoxFill::LightGrey);
    canvas_.setBkMode(BackgroundMode::Transparent);
    canvas_.selectFont(tools_.titleFont);
    textAt(Point{1400, -330}, TextAlign::Left, std::string(texts_.text(TextId::ReportHeading)));
    textAt(Point{1400, -730}, TextAlign::Left, std::string(texts_.text(TextId::ReportTitle)));
    canvas_.selectFont(tools_.textFont);
    textAt(Point{1400, -1130}, TextAlign::Left, facts.versionText);
    canvas_.selectFont(tools_.titleFont);
    textAt(Point{18600, -330}, TextAlign::Right, std::string(texts_.text(TextId::EventDistribution)));
    canvas_.selectFont(tools_.textFont);
    textAt(Point{18600, -1030}, TextAlign::Right, format(TextId::ReportPatient, facts.patientLine.c_str()));
}

void ReportPage::drawStatistics(const ReportFacts& facts) {
    drawReportBox(canvas_, tools_, Point{1000, -3000}, Size{18000, 740}, BoxFill::Hollow);
    textAt(Point{kCentre, -3370}, TextAlign::Center, facts.statistics);
}

// The catalog lays its paper rows into the chart box and paints them there.
void ReportPage::drawChart(EventCatalog& catalog) {
    drawReportBox(canvas_, tools_, Point{1000, -4000}, Size{18000, 11500}, BoxFill::Hollow);
    canvas_.setTextAlign(TextAlign::Left);
    paintEventChart(canvas_, catalog, kChartArea);
}

void ReportPage::drawEventData(const ReportFacts& facts, const ReportStrip& strip) {
    canvas_.selectFont(tools_.titleFont);
    const int32_t t = facts.eventTimeOfDayTicks;
    const int hour = (t / kTicksPerHour) % 24;
    const int minute = (t / kTicksPerMinute) % 60;
    const int second = (t / kTicksPerSecond) % 60;
    textAt(Point{kCentre, -15900}, TextAlign::Center, std::string(texts_.text(TextId::ActualTotal)));
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%ld / %ld", static_cast<long>(facts.eventOrdinal),
                  static_cast<long>(facts.eventCount));
    textAt(Point{kCentre, -16300}, TextAlign::Center, numbers);
    const int millimetresPerMillivolt = strip.amplitudeStep == 1 ? 5 : strip.amplitudeStep == 3 ? 20 : 10;
    const TextId speedEntry = strip.pixelsPerSample == 1   ? TextId::Speed12_5
                              : strip.pixelsPerSample == 4 ? TextId::Speed50
                                                           : TextId::Speed25;
    textAt(Point{kLeft, -18000}, TextAlign::Left,
           format(TextId::Amplitude, millimetresPerMillivolt) + std::string(texts_.text(speedEntry)));
    textAt(Point{kCentre, -17000}, TextAlign::Center, facts.eventCaption);
    const std::string timeText =
        facts.heartRate == 0 ? format(TextId::TimeWithoutRate, hour, minute, second)
                             : format(TextId::TimeAndRate, hour, minute, second, static_cast<int>(facts.heartRate));
    textAt(Point{kRight, -18000}, TextAlign::Right, timeText);
}

}  // namespace lumen
