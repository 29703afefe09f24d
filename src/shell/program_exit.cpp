// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/program_exit.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "assembly/home_files.h"
#include "platform/file/utf8_path.h"
#include "platform/process/process.h"
#include "shell/hand_over_file.h"
#include "shell/start_event_code.h"
#include "store/clock.h"

namespace lumen {

ProgramExit::ProgramExit(ViewerModel& model, ProgramMessages& messages) : model_(model), messages_(messages) {}

void ProgramExit::terminateProgram(std::string_view message) {
    if (model_.shell.shuttingDown) reenter();
    model_.shell.shuttingDown = true;
    if (!message.empty()) showMessage(message);
    // The tables, the beats and the edit counter reach the recording as one
    // update, whole or not at all; the box is shown while the panes still
    // have everything they paint from. A save that failed leaves the
    // recording as it was, and the hand-over says so.
    if (!saveCorrections()) {
        model_.shell.labelChangeState = 0;
        reportUnsavedCorrections();
    }
    // A viewer refused because another one has the recording open had no
    // session: the hand-over is that one's, labels-changed line and all.
    // Both hand-over files are written while the recording is still ours: a
    // tool that replaces the home waits for its lock, so none of this can
    // land in the next patient's home.
    if (!refusedAtOpen(message)) {
        writeHandOverFile();
        writeCleanUpRequest();
    }
    model_.painter.reset();
    model_.strip.reset();
    model_.drawing = DrawingSet{};
    if (model_.recording) model_.recording->closeFile();
    deleteBitmaps();
    handOverToCleanUp();
    endProcess();
}

void ProgramExit::reenter() {
    // A second fatal error under the first one's box: what was corrected is
    // still saved, only nothing more is shown.
    if (!saveAttempted_ && !saveCorrections()) {
        model_.shell.labelChangeState = 0;
        std::fprintf(stderr, "%s\n", unsavedCorrectionsText().c_str());
    }
    deleteBitmaps();
    messages_.broadcast(kExitNotification);
    endProcess();
}

void ProgramExit::showMessage(std::string_view message) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
    std::fflush(stderr);
    if (system_ == nullptr || (boxPolicy_ && !boxPolicy_())) return;
    const WindowHandle owner = system_->isWindow(model_.shell.mainWindow) ? model_.shell.mainWindow : WindowHandle{};
    system_->messageBox(owner, message, "Error", MB_OK);
}

bool ProgramExit::refusedAtOpen(std::string_view message) const {
    return !model_.recording && (message == kRecordingInUseText || message == kRecordingBusyText);
}

void ProgramExit::writeHandOverFile() {
    HandOver values;
    const Clock start = model_.recording ? model_.recording->startClock() : Clock{};
    values.position =
        model_.shell.firstBlock * 10 + kSecondsPerHour * start.hour + kSecondsPerMinute * start.minute + start.second;
    values.changed = model_.shell.labelChangeState != 0 ? 1 : 0;
    int32_t row = model_.catalog ? model_.catalog->selectedRow() : EventCatalog::kNoSelection;
    // A start-up selection that no paint has placed yet is still that row.
    if (row >= EventCatalog::kPendingSelection) row -= EventCatalog::kPendingSelection;
    values.startEventCode = startEventCodeOfRow(row);
    const StripView view = model_.painter ? model_.painter->view() : StripView{};
    values.pixelsPerSample = view.pixelsPerSample;
    values.amplitudeStep = view.amplitudeStep;
    writeHandOver(model_.shell.programDirectory + "doef.mem", values);
}

std::string ProgramExit::unsavedCorrectionsText() const {
    const WriteFailure failure = model_.recording ? model_.recording->file().lastFailure() : WriteFailure::Disk;
    std::string text(kCorrectionsNotSavedText);
    switch (failure) {
    case WriteFailure::Replaced: return text + " " + std::string(kRecordingReplacedAdvice);
    case WriteFailure::Busy: return text + " " + std::string(kRecordingBusyAdvice);
    // These causes are the store's to name: a full disk, a folder this user
    // may not write, a file with more than one name.
    case WriteFailure::NoRoom:
    case WriteFailure::Permission:
    case WriteFailure::Linked: return text + " " + model_.recording->file().failureNote();
    case WriteFailure::ReadOnly:
    case WriteFailure::Disk:
    case WriteFailure::None: break;
    }
    return text + " " + std::string(kDiskAdvice);
}

void ProgramExit::reportUnsavedCorrections() {
    const std::string text = unsavedCorrectionsText();
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    if (system_ == nullptr) return;
    const WindowHandle owner = system_->isWindow(model_.shell.mainWindow) ? model_.shell.mainWindow : WindowHandle{};
    system_->messageBox(owner, text, "Error", MB_OK | MB_ICONEXCLAMATION);
}

bool ProgramExit::saveCorrections() {
    saveAttempted_ = true;
    if (!model_.recording) return true;
    RecordingFile& file = model_.recording->file();
    file.beginUpdate();
    bool saved = saveAnnotation();
    saved = model_.recording->addToEditCounter(static_cast<uint32_t>(model_.shell.labelChangeCount)) && saved;
    return file.commitUpdate() && saved;
}

bool ProgramExit::saveAnnotation() {
    if (!model_.recording || model_.stage < StartupStage::Beats) return true;
    if (model_.catalog && !model_.catalog->extremesValid()) model_.trends.resetFlags();
    return model_.trends.save(*model_.recording);
}

void ProgramExit::deleteBitmaps() {
    if (faces_ != nullptr) faces_->releaseBitmaps();
}

void ProgramExit::writeCleanUpRequest() {
    if (model_.shell.labelChangeState == 0) return;
    const std::string path = model_.shell.programDirectory + "dore.mem";
    if (std::FILE* file = openFile(path, "wt")) {
        std::fprintf(file, "%d", model_.shell.labelChangeState);
        std::fclose(file);
    }
}

void ProgramExit::handOverToCleanUp() {
    if (model_.shell.labelChangeState == 0) {
        messages_.broadcast(kExitNotification);
        return;
    }
    setEnvironmentVariable(HomeFiles::kHomeVariable, model_.shell.programDirectory);
    startProgram(kCleanUpTool);
}

void ProgramExit::endProcess() {
    if (system_ != nullptr) system_->postQuitMessage(0);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(kExitStatus);
}

}  // namespace lumen
