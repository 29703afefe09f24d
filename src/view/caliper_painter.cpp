// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/caliper_painter.h"

#include <string>

#include "view/strip_grid.h"
#include "view/strip_text.h"

namespace lumen {

namespace {

// Language entries of the channel names and the voltage formats.
constexpr int32_t kEraseSpaces = 24;

}  // namespace

void CaliperPainter::measureM() {
    const Size m = scene_.image.textExtent("M");
    caliper_.textWidth = m.width;
    caliper_.textHeight = m.height;
}

void CaliperPainter::verticalLine(int32_t column) {
    scene_.image.moveTo({column, 0});
    scene_.image.lineTo({column, scene_.height});
}

// Spaces in the background colour over the two upper and the two lower texts
// at the second line.
void CaliperPainter::blankTexts(int32_t upperSpaces, int32_t lowerSpaces) {
    Image& image = scene_.image;
    const int32_t h = caliper_.textHeight;
    const int32_t x = caliper_.secondColumn + 5;
    const Color text = image.setTextColor(scene_.objects.background);
    image.setBkColor(scene_.objects.background);
    const std::string upper(static_cast<size_t>(upperSpaces), ' ');
    const std::string lower(static_cast<size_t>(lowerSpaces), ' ');
    image.textOut({x, h + 1}, upper);
    image.textOut({x, 2 * h}, upper);
    image.textOut({x, scene_.height - 1 - 3 * h}, lower);
    image.textOut({x, scene_.height - 1 - 2 * h}, lower);
    image.setTextColor(text);
}

void CaliperPainter::run(CaliperStep step) {
    Image& image = scene_.image;
    image.selectFont(scene_.objects.measuringFont);
    image.selectPen(scene_.objects.backgroundPen);
    measureM();
    if (caliper_.phase == CaliperPhase::None) return;
    if (step == CaliperStep::Erase) {
        verticalLine(caliper_.secondColumn);
        if (caliper_.phase == CaliperPhase::PlacingFirst) verticalLine(caliper_.firstColumn);
        blankTexts(kEraseSpaces, kEraseSpaces);
        image.selectFont(scene_.objects.paneFont);
        return;
    }
    if (caliper_.phase == CaliperPhase::PlacingFirst) {
        caliper_.firstColumn = caliper_.mouseColumn;
        image.selectPen(scene_.objects.caliperPen);
        verticalLine(caliper_.firstColumn);
        return;
    }
    caliper_.secondColumn = caliper_.mouseColumn;
    drawLines();
    writeInterval();
}

void CaliperPainter::drawLines() {
    scene_.image.selectPen(scene_.objects.caliperPen);
    verticalLine(caliper_.firstColumn);
    verticalLine(caliper_.secondColumn);
    scene_.image.selectPen(Pen::null());
    scene_.image.selectFont(scene_.objects.measuringFont);
}

void CaliperPainter::writeInterval() {
    const CaliperFigures figures = caliperFigures(caliper_, scene_.streams, scene_.view.speed(), scene_.displayMultiplier);
    const int32_t x = caliper_.secondColumn + 5;
    const int32_t h = caliper_.textHeight;
    scene_.image.textOut({x, h + 1}, formatFloat("%.0f msec", figures.intervalMs));
    if (figures.showsRate) scene_.image.textOut({x, 2 * h}, formatFloat("%.0f bpm", figures.beatsPerMinute));
}

void CaliperPainter::removeForSelectionMove() {
    Image& image = scene_.image;
    image.selectFont(scene_.objects.measuringFont);
    image.selectPen(scene_.objects.backgroundPen);
    measureM();
    verticalLine(caliper_.secondColumn);
    verticalLine(caliper_.firstColumn);
    blankTexts(18, 22);
    const int32_t h = caliper_.textHeight;
    drawGrid(image, scene_.objects.gridPen, scene_.width,
             {caliper_.secondColumn, 0, caliper_.secondColumn + 18 * h + 5, scene_.height}, GridLines::Major);
    drawGrid(image, scene_.objects.gridPen, scene_.width,
             {caliper_.firstColumn, 0, caliper_.firstColumn + 1, scene_.height}, GridLines::Major);
    image.selectFont(scene_.objects.paneFont);
    scene_.view.caliperCleared = 1;
}

void CaliperPainter::writeChannelNames() {
    Image& image = scene_.image;
    image.selectFont(scene_.objects.measuringFont);
    image.setTextColor(scene_.objects.text);
    image.setBkColor(scene_.objects.background);
    image.setBkMode(BackgroundMode::Opaque);
    const Size m = image.textExtent("M");
    image.textOut({m.width, scene_.height / 4 - m.height / 2}, scene_.texts.text(TextId::Channel1Name));
    image.textOut({m.width, 3 * scene_.height / 4 - m.height / 2}, scene_.texts.text(TextId::Channel2Name));
}

void CaliperPainter::copyVoltages(Canvas* target) {
    const CaliperFigures figures = caliperFigures(caliper_, scene_.streams, scene_.view.speed(), scene_.displayMultiplier);
    Image& image = scene_.image;
    const int32_t x = caliper_.secondColumn + 5;
    const int32_t h = caliper_.textHeight;
    image.textOut({x, scene_.height - 1 - 3 * h},
                  formatFloat(scene_.texts.text(TextId::Channel1Voltage), figures.channel1Millivolts));
    image.textOut({x, scene_.height - 1 - 2 * h},
                  formatFloat(scene_.texts.text(TextId::Channel2Voltage), figures.channel2Millivolts));
    writeChannelNames();
    const int32_t left = caliper_.secondColumn;
    const int32_t right = caliper_.secondColumn + 15 * caliper_.textWidth + 5;
    if (target != nullptr) target->bitBlt(Rect{left, 0, right + 1, scene_.height}, image, Point{left, 0});
}

}  // namespace lumen
