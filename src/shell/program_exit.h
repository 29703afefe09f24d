// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "platform/process/program_messages.h"
#include "platform/window/window_system.h"
#include "shell/button_faces.h"
#include "shell/viewer_model.h"

namespace lumen {

// The program's one way out, for fatal errors (with a message) and ordinary
// exits (empty message): the message box, doef.mem, the annotation written
// back, everything released, then clean_wf.exe or the exit broadcast, and
// the end of the process with exit code -1: 0xFFFFFFFF to a Windows parent,
// 255 where a status has eight bits.
class ProgramExit {
public:
    static constexpr int kExitStatus = -1;
    static constexpr uint32_t kExitNotification = 0x221;
    static constexpr std::string_view kCleanUpTool = "clean_wf.exe";
    static constexpr std::string_view kCorrectionsNotSavedText = "The corrections could not be saved.";
    static constexpr std::string_view kDiskAdvice =
        "The recording is unchanged. Free some disk space or make the recording folder writable, then open it "
        "again and repeat the corrections.";
    static constexpr std::string_view kRecordingReplacedAdvice =
        "The recording was replaced by another file while it was open, so nothing was written into it.";
    static constexpr std::string_view kRecordingBusyAdvice =
        "Another program was saving into the recording; it is unchanged. Open it again and repeat the corrections.";

    // Whether a fatal message may open a box: a headless run opens it only
    // when the script's next action answers it.
    using BoxPolicy = std::function<bool()>;

    ProgramExit(ViewerModel& model, ProgramMessages& messages);

    void setWindowSystem(WindowSystem* system) { system_ = system; }
    void setButtonFaces(ButtonFaces* faces) { faces_ = faces; }
    void setBoxPolicy(BoxPolicy policy) { boxPolicy_ = std::move(policy); }

    [[noreturn]] void terminateProgram(std::string_view message);
    // A write into the recording failed and was rolled back: says so on
    // standard error and in a box.
    void reportUnsavedCorrections();

private:
    [[noreturn]] void reenter();
    void showMessage(std::string_view message);
    bool refusedAtOpen(std::string_view message) const;
    std::string unsavedCorrectionsText() const;
    void writeHandOverFile();
    bool saveCorrections();
    bool saveAnnotation();
    void deleteBitmaps();
    void writeCleanUpRequest();
    void handOverToCleanUp();
    [[noreturn]] void endProcess();

    ViewerModel& model_;
    ProgramMessages& messages_;
    WindowSystem* system_ = nullptr;
    ButtonFaces* faces_ = nullptr;
    BoxPolicy boxPolicy_;
    bool saveAttempted_ = false;
};

}  // namespace lumen
