// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/configuration_loader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>

#include "store/clock.h"
#include "shell/color_file.h"
#include "shell/hand_over_file.h"
#include "shell/start_event_code.h"
#include "shell/title_text.h"
#include "store/event_feed.h"
#include "store/fatal_error.h"

namespace lumen {
namespace {


std::string withoutLineBreak(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

Font arial(int32_t height, int32_t weight) { return Font::make("Arial", height, weight); }

}  // namespace

DrawingSet makeDrawingSet(const ColorSettings& colors) {
    DrawingSet set;
    set.windowColor = colors.window;
    set.windowBrush = Brush::solid(colors.window);
    set.windowPen = Pen::solid(0, colors.window);
    set.ventricularColor = colors.ventricular;
    set.silverBrush = Brush::solid(rgb(192, 192, 192));
    set.measuringFont = arial(18, Font::boldWeight);
    set.readoutFont = arial(40, Font::normalWeight);
    set.rowFontSmall = arial(14, Font::boldWeight);
    set.rowFontLarge = arial(17, Font::boldWeight);
    return set;
}

void selectStartEvent(EventCatalog& catalog, int32_t timeOfDayTicks, int32_t startEventCode) {
    catalog.selectAt(timeOfDayTicks, rowOfStartEventCode(startEventCode));
}

void loadViewWindow(ViewerModel& model, int32_t firstBlock) {
    const ChangeKind kind = model.strip->loadWithClocks(*model.recording, firstBlock);
    if (model.shell.labelChangeState == 0) model.shell.labelChangeState = static_cast<int32_t>(kind) & 0xFF;
}

void loadConfiguration(ViewerModel& model, const std::string& programFile) {
    Recording& recording = *model.recording;
    const std::string& directory = model.shell.programDirectory;

    recording.beats().load(recording);
    model.trends.load(recording);
    recording.beats().count();
    model.stage = StartupStage::Beats;

    const std::string handOverPath = directory + "doef.mem";
    const auto handOver = readHandOver(handOverPath);
    if (!handOver) raiseFatal("File not found '" + handOverPath + "' !");
    if (model.painter) {
        model.painter->view().pixelsPerSample = handOver->pixelsPerSample;
        model.painter->view().amplitudeStep = handOver->amplitudeStep;
    }

    const auto colors = readColorFile(directory + "color.ini");
    if (!colors) raiseFatal("File not found \"color.ini\" !");
    model.texts.setLanguage(colors->languageIndex);
    model.drawing = makeDrawingSet(*colors);

    model.catalog = std::make_unique<EventCatalog>(model.texts);
    feedEvents(recording, model.trends, *model.catalog);

    const Clock start = recording.startClock();
    const int32_t startSeconds = kSecondsPerHour * start.hour + kSecondsPerMinute * start.minute + start.second;
    // A hand-over position near the ends of its range selects the first or
    // the last event instead of overflowing.
    const int64_t startTime = int64_t{handOver->position} + int64_t{kTicksPerSecond} * startSeconds;
    selectStartEvent(*model.catalog, static_cast<int32_t>(std::clamp<int64_t>(startTime, INT32_MIN, INT32_MAX)),
                     handOver->startEventCode);

    model.shell.firstBlock = 0;
    loadViewWindow(model, 0);
    if (model.painter) model.painter->setSignalScale(recording.amplitudeCode(), recording.displayMultiplier());

    const auto grid = readGridColorFile(directory + "TBcolor.ini");
    if (!grid) raiseFatal("File not found \"TBcolor.ini\" !");
    model.stripColors = StripColors{colors->window, colors->trace,   colors->ventricular, colors->supraventricular,
                                    colors->text,   colors->caliper, *grid};
    model.stripObjects = StripDrawingObjects::make(model.stripColors, 1);

    model.shell.patientLine = withoutLineBreak(model.texts.decodeRecordingText(recording.readPatientLine()));
    std::string sidecarWarning;
    model.shell.sourceNotes = RecordingSidecar::read(recording.recordingDirectory(), sidecarWarning);
    if (!sidecarWarning.empty()) std::fprintf(stderr, "lumen: warning: %s\n", sidecarWarning.c_str());
    model.shell.titleText = titleText(model.texts.text(TextId::SystemTitle), buildStamp(programFile));
    model.stage = StartupStage::Configured;
}

}  // namespace lumen
