// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's side of the pane roles (ShellServices, PaneLinks) and the
// commands the main window gives through PaneCommands.
#include <cstdio>

#include "events/event_browser_pane.h"
#include "lang/text_format.h"
#include "platform/file/utf8_path.h"
#include "print/report_printer.h"
#include "print/study_report.h"
#include "shell/shell_print_host.h"
#include "shell/viewer.h"
#include "store/time_units.h"
#include "study/study_calculator.h"
#include "view/ecg_pane.h"
#include "view/title_pane.h"

namespace lumen {

void Viewer::recordWriteBack(ChangeKind kind) {
    if (model_.shell.labelChangeState != 1) model_.shell.labelChangeState = static_cast<int32_t>(kind);
    if (kind == ChangeKind::NormalityChanged) ++model_.shell.labelChangeCount;
}

std::string Viewer::recordingDate() const {
    const auto& date = model_.shell.sourceNotes.startDate;
    return date ? date->iso() : std::string();
}

std::string Viewer::manualEventText(int32_t positionTicks) const {
    return model_.shell.sourceNotes.textAt(positionTicks / kTicksPerTenth);
}

bool Viewer::restoreTitle() { return main_ && main_->restoreTitle(); }

void Viewer::refreshButtonFaces() {
    if (faces_) faces_->refreshButtonFaces();
}

void Viewer::loadStripAround(int32_t samplePosition) {
    if (ecg_) ecg_->loadStripAround(samplePosition);
}

void Viewer::resetCaliperFirstColumn() {
    if (model_.painter) model_.painter->caliper().firstColumn = -1;
}

void Viewer::showBothChannels() {
    if (model_.painter) model_.painter->view().channelMode = 3;
}

ShownStretch Viewer::shownStretch() const {
    if (!model_.painter) return {};
    const StripView& view = model_.painter->view();
    return {static_cast<ChannelMode>(view.channelMode), view.slotA * StripWindow::kSlotSamples + view.offsetA,
            view.slotB * StripWindow::kSlotSamples + view.offsetB};
}

bool Viewer::classifySelectedForm(BeatClass beatClass) { return forms_ && forms_->classifySelectedForm(beatClass); }

void Viewer::requestExit() { system_.sendMessage(model_.shell.mainWindow, WM_DESTROY, 0, 0); }

void Viewer::printReport(const ShownStretch& stretch) {
    if (!model_.painter || !model_.catalog || !browser_) return;
    const StripPainter& painter = *model_.painter;
    const CaliperFigures figures = caliperFigures(painter.caliper(), painter.streams(), painter.view().speed(),
                                                  model_.recording->displayMultiplier());
    PrintRequest request =
        printRequestFrom(static_cast<int32_t>(stretch.channelMode), painter.view(), painter.caliper(), figures,
                         painter.unitsPerMillivolt(), model_.shell.printerIndex);
    request.excerptStart = stretch.firstSample;
    request.excerptEnd = stretch.lastSample;
    const PrinterList printers = printTo_.empty() ? PrinterList::fromSystem() : PrinterList::toFile(printTo_, paper_);
    const ReportFacts facts =
        gatherReportFacts(*model_.recording, model_.trends, *model_.catalog, model_.texts, browser_->eventCaption());
    ShellPrintHost host(system_);
    // A missing printer has been told to the user by then; nothing is left to do.
    lumen::printReport(host, printers, request, ReportSources{model_.texts, *model_.catalog, *model_.strip, facts});
}

// The study report reads the beats as corrected so far: the labels still
// held by the strip go back into the beat list first.
void Viewer::printStudyReport() {
    if (!model_.catalog || !model_.recording) return;
    runLabelWriteBack();
    Recording& recording = *model_.recording;
    const StudyInput input = StudyInput::read(recording, model_.trends, model_.catalog->row(kToPrinterRow).count());
    const StudyFigures figures = StudyCalculator::compute(input);
    const PrinterList printers = printTo_.empty() ? PrinterList::fromSystem() : PrinterList::toFile(printTo_, paper_);
    const Printer* printer = defaultPrinter(printers, model_.shell.printerIndex);
    ShellPrintHost host(system_);
    const ReportFacts facts = gatherReportFacts(recording, model_.trends, *model_.catalog, model_.texts, "");
    const StudyReportSources sources{
        .figures = figures,
        .input = input,
        .recording = recording,
        .flaggedEvents = StudyReport::flaggedEvents(*model_.catalog, recording),
        .patientLine = format(model_.texts, TextId::ReportPatient, facts.patientLine.c_str()),
        .interpretation = "",
        .reviewer = "",
        .reportDate = StudyReport::todayIso(),
        .unitsPerMillivolt = model_.painter ? model_.painter->unitsPerMillivolt() : recording.amplitudeCode(),
        .sheetHundredthMm = printer != nullptr ? printer->paper.hundredthMm : paper_.hundredthMm,
    };
    char question[96];
    std::snprintf(question, sizeof question, "Print the study report of this recording (%d pages)?",
                  StudyReport::pageCount(sources));
    if (!host.confirm(question, StudyReport::kDocumentName)) return;
    std::unique_ptr<PageOutput> output =
        printer != nullptr ? host.startJob(*printer, StudyReport::kDocumentName) : nullptr;
    if (!output) {
        if (printer != nullptr) host.tellCause(host.jobFailure());
        host.showError(model_.texts.text(TextId::NoPrinter), model_.texts.text(TextId::ErrorCaption));
        return;
    }
    if (!StudyReport::print(*output, sources)) host.tellCause(output->failure());
}

void Viewer::refreshBrowser(bool full) {
    if (browser_) browser_->refreshBrowser(full);
}

void Viewer::removeSelectedEvent() {
    if (browser_) browser_->removeSelectedEvent();
}

bool Viewer::refreshExtremes() { return browser_ && browser_->refreshExtremes(); }

int32_t Viewer::repaintStrip(RelabelMode mode, PaintOp op, int32_t column) {
    if (!ecg_) return 0;
    return ecg_->repaintStrip(mode, op, column);
}

void Viewer::runLabelWriteBack() {
    if (ecg_) ecg_->runLabelWriteBack();
}

void Viewer::recountBeatsAndTitle() {
    model_.recording->beats().count();
    system_.invalidateRect(model_.shell.titlePane, std::nullopt, Erase::Yes);
    system_.updateWindow(model_.shell.titlePane);
}

bool Viewer::writeDump(const std::string& path) {
    DumpExtras extras;
    if (title_) extras.titlePane = {title_->leftText(), title_->rightText()};
    if (browser_) {
        extras.status = {browser_->statusTexts().left, browser_->statusTexts().right};
        extras.heartRate = browser_->heartRateText();
    }
    extras.autoStep = autoStep_ && autoStep_->running();
    if (faces_) extras.buttons = faces_->drawnSlots();
    const std::string text = stateDumpText(system_, model_, extras);
    std::FILE* file = openFile(path, "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace lumen
