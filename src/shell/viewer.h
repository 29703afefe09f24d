// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "pane/pane_context.h"
#include "pane/pane_links.h"
#include "pane/shell_services.h"
#include "platform/print/paper_size.h"
#include "platform/process/program_messages.h"
#include "platform/window/window_system.h"
#include "shell/auto_step_button.h"
#include "shell/button_faces.h"
#include "shell/form_review.h"
#include "shell/main_window.h"
#include "shell/pane_commands.h"
#include "shell/program_exit.h"
#include "shell/state_dump.h"
#include "shell/viewer_model.h"

namespace lumen {

class EcgPane;
class EventBrowserPane;
class ShellStripHost;
class TitlePane;
class TrendExtremes;

// Where the viewer starts: its program directory, its own program file (for
// the build stamp) and the printer index of the command line.
struct ViewerStart {
    std::string programDirectory;  // ends with '/'
    std::string programFile;
    int32_t printerIndex = 0;
    std::string printTo;  // --print-to: the one printer writes this PDF; "" for the system's printers
    PaperSize paper;      // --paper: the sheet of that PDF
};

// The running viewer: the start-up sequence, the windows, and the shell's
// side of every pane role (what the panes read, the services they ask for,
// the links between them). Ends only through the exit path.
class Viewer final : public PaneContext, public ShellServices, public PaneLinks, public PaneCommands {
public:
    Viewer(WindowSystem& system, ProgramExit::BoxPolicy boxPolicy);
    ~Viewer() override;

    // Runs the start-up and the message loop; does not return normally.
    int run(const ViewerStart& start);
    // The state dump the test tools read; false when it cannot be written.
    bool writeDump(const std::string& path);

    [[noreturn]] void terminateProgram(std::string_view message);

    // PaneContext
    const ShellLayout& layout() const override { return model_.layout; }
    const DrawingSet& drawing() const override { return model_.drawing; }
    const LanguageTexts& texts() const override { return model_.texts; }
    const std::string& patientLine() const override { return model_.shell.patientLine; }
    WindowHandle mainWindow() const override { return model_.shell.mainWindow; }
    WindowHandle button(ControlId control) const override { return model_.shell.button(control); }
    std::string recordingDate() const override;
    std::string manualEventText(int32_t positionTicks) const override;

    // ShellServices (recountBeatsAndTitle also serves PaneCommands)
    void refreshButtonFaces() override;
    bool restoreTitle() override;
    void setFirstBlock(int32_t block) override { model_.shell.firstBlock = block; }
    void recordWriteBack(ChangeKind kind) override;
    void markAnnotationChanged() override { model_.shell.labelChangeState = 1; }
    void reportUnsavedCorrections() override { exit_.reportUnsavedCorrections(); }
    void printReport(const ShownStretch& stretch) override;
    void requestExit() override;
    bool classifySelectedForm(BeatClass beatClass) override;

    // PaneLinks
    void loadStripAround(int32_t samplePosition) override;
    void resetCaliperFirstColumn() override;
    void showBothChannels() override;
    ShownStretch shownStretch() const override;

    // PaneCommands
    void refreshBrowser(bool full) override;
    void removeSelectedEvent() override;
    bool refreshExtremes() override;
    int32_t repaintStrip(RelabelMode mode, PaintOp op, int32_t column) override;
    void runLabelWriteBack() override;
    void recountBeatsAndTitle() override;
    void printStudyReport() override;

private:
    class FatalRoute;

    void allocateStorage();
    void watchForEndFromOutside();
    void tellOpeningNotes();
    void registerClasses();
    void createWindows();
    void createPanes();

    WindowSystem& system_;
    ViewerModel model_;
    std::unique_ptr<ProgramMessages> messages_;
    ProgramExit exit_;
    std::unique_ptr<FatalRoute> fatalRoute_;
    std::unique_ptr<ButtonFaces> faces_;
    std::unique_ptr<AutoStepButton> autoStep_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<TrendExtremes> extremes_;
    std::unique_ptr<ShellStripHost> stripHost_;
    std::unique_ptr<EventBrowserPane> browser_;
    std::unique_ptr<EcgPane> ecg_;
    std::unique_ptr<TitlePane> title_;
    std::unique_ptr<FormReview> forms_;
    ProgramExit::BoxPolicy boxPolicy_;
    std::string printTo_;
    PaperSize paper_;
};

}  // namespace lumen
