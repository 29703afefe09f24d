// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/viewer.h"

#include <new>

#include "events/event_browser_pane.h"
#include "events/trend_extremes.h"
#include "platform/process/termination_request.h"
#include "shell/configuration_loader.h"
#include "shell/shell_strip_host.h"
#include "store/fatal_error.h"
#include "view/ecg_pane.h"
#include "view/title_pane.h"

namespace lumen {
namespace {

constexpr const char* kFormsPaneClass = "lumen_forms";

}  // namespace

// Fatal errors of the store end the program through the viewer's exit path;
// the decoder's notice is a message box of its own.
class Viewer::FatalRoute final : public FatalHandler {
public:
    FatalRoute(Viewer& viewer, ProgramExit::BoxPolicy policy) : viewer_(viewer), policy_(std::move(policy)) {}
    // Only the decoder gives notice, right before its fatal error.
    void notice(std::string_view caption, std::string_view text) override {
        viewer_.model_.shell.decodeFailed = true;
        if (!policy_ || policy_()) viewer_.system_.messageBox({}, text, caption, MB_OK);
    }
    [[noreturn]] void fatal(std::string_view message) override { viewer_.terminateProgram(message); }

private:
    Viewer& viewer_;
    ProgramExit::BoxPolicy policy_;
};

Viewer::Viewer(WindowSystem& system, ProgramExit::BoxPolicy boxPolicy)
    : system_(system),
      messages_(openProgramMessages(MainWindow::kCloseRequest)),
      exit_(model_, *messages_),
      fatalRoute_(std::make_unique<FatalRoute>(*this, boxPolicy)),
      stripHost_(std::make_unique<ShellStripHost>(system, model_)),
      boxPolicy_(boxPolicy) {
    exit_.setWindowSystem(&system_);
    exit_.setBoxPolicy(std::move(boxPolicy));
    installFatalHandler(fatalRoute_.get());
}

Viewer::~Viewer() { installFatalHandler(nullptr); }

void Viewer::terminateProgram(std::string_view message) { exit_.terminateProgram(message); }

void Viewer::allocateStorage() {
    // A failed allocation is reported only at the memory check.
    model_.strip.reset(new (std::nothrow) StripWindow);
}

int Viewer::run(const ViewerStart& start) {
    TerminationRequest::watch();
    watchForEndFromOutside();
    model_.shell.programDirectory = start.programDirectory;
    allocateStorage();
    model_.recording = std::make_unique<Recording>(start.programDirectory, RecordingAccess::Session);
    model_.stage = StartupStage::Recording;
    model_.shell.printerIndex = start.printerIndex;
    printTo_ = start.printTo;
    paper_ = start.paper;
    if (!model_.strip) terminateProgram("Not enough memory!");
    model_.painter = std::make_unique<StripPainter>(*model_.recording, *model_.strip, model_.texts, *stripHost_);
    loadConfiguration(model_, start.programFile);

    faces_ = std::make_unique<ButtonFaces>(system_, model_);
    exit_.setButtonFaces(faces_.get());
    autoStep_ = std::make_unique<AutoStepButton>(system_, model_, *faces_);
    forms_ = std::make_unique<FormReview>(system_, model_, *this, *this, *this, *this);
    main_ = std::make_unique<MainWindow>(system_, model_, *faces_, *this, *forms_,
                                         [this](std::string_view message) { terminateProgram(message); });
    registerClasses();
    createWindows();
    model_.stage = StartupStage::Windows;
    tellOpeningNotes();
    return system_.runMessageLoop();
}

void Viewer::watchForEndFromOutside() {
    system_.setExternalPoll([this](WindowSystem& system) {
        for (const uint32_t message : messages_->takeReceived()) {
            system.postMessage(model_.shell.mainWindow, message, 0, 0);
        }
        // A termination signal, or the display gone, closes the viewer as
        // the acquisition program's close request does: through the normal
        // exit, also from under a box, which nobody may be there to answer.
        if (TerminationRequest::take() || system.displayLost()) {
            system.answerMessageBoxesForExit();
            system.postMessage(model_.shell.mainWindow, MainWindow::kCloseRequest, 0, 0);
        }
    });
}

// What opening the recording had to say (a cut-short save undone, a
// journal set aside, no room for one) is already on standard error; the
// user of the window sees it too.
void Viewer::tellOpeningNotes() {
    for (const std::string& note : model_.recording->file().notes()) {
        if (boxPolicy_ && !boxPolicy_()) continue;
        system_.messageBox(model_.shell.mainWindow, note, "Error", MB_OK | MB_ICONEXCLAMATION);
    }
}

void Viewer::registerClasses() {
    const CursorHandle arrow = system_.loadCursor(IDC_ARROW);
    constexpr uint32_t redraw = CS_HREDRAW | CS_VREDRAW;
    system_.registerClass(WindowClass{"alap_ablak", &PaneWindow::procedure, redraw, Brush::grey(), arrow});
    for (const char* name : {"c1_ablak", "c2_ablak", "c3_ablak", kFormsPaneClass}) {
        system_.registerClass(WindowClass{name, &PaneWindow::procedure, redraw, model_.drawing.windowBrush, arrow});
    }
}

void Viewer::createPanes() {
    extremes_ = std::make_unique<TrendExtremes>(model_.trends, model_.recording->beats());
    browser_ = std::make_unique<EventBrowserPane>(system_, *this, *this, *this, *model_.catalog, *model_.recording,
                                                  model_.trends, *extremes_);
    ecg_ = std::make_unique<EcgPane>(system_, *this, *this, *model_.painter, *model_.catalog);
    title_ = std::make_unique<TitlePane>(system_, *this, *this, model_.recording->beats());
    faces_->setHeartRateDrawer(
        [this](Canvas& canvas, int32_t top, int32_t bottom) { browser_->drawHeartRate(canvas, top, bottom); });
}

void Viewer::createWindows() {
    createPanes();
    ShellState& shell = model_.shell;
    const Rect defaultPlace{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    shell.mainWindow = system_.createWindow({"alap_ablak", "", WS_OVERLAPPEDWINDOW, defaultPlace, {}, 0});
    main_->attach(system_, shell.mainWindow);
    const auto pane = [&](std::string_view name, uint32_t style, Rect place, PaneWindow& object) {
        const WindowHandle window = system_.createWindow({name, "", style, place, shell.mainWindow, 0});
        object.attach(system_, window);
        return window;
    };
    shell.browserPane = pane("c1_ablak", WS_CHILD | WS_CLIPSIBLINGS, Rect{100, 100, 300, 250}, *browser_);
    shell.ecgPane = pane("c2_ablak", WS_CHILD | WS_CLIPSIBLINGS, Rect{100, 300, 500, 450}, *ecg_);
    shell.titlePane = pane("c3_ablak", WS_CHILD, Rect{0, 0, 100, 100}, *title_);
    // Hidden until the reviewer opens the forms view.
    shell.formsPane = pane(kFormsPaneClass, WS_CHILD | WS_CLIPSIBLINGS, Rect{}, forms_->pane());
    for (size_t i = 0; i < kButtonIds.size(); ++i) {
        const ControlId id = kButtonIds[i];
        const uint32_t number = controlNumber(id);
        const WindowHandle parent = number < 2000 ? shell.browserPane : number < 3000 ? shell.ecgPane : shell.titlePane;
        shell.buttons[i] = system_.createWindow(
            {"button", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW, Rect{}, parent, number});
        if (id == ControlId::AutoStep) autoStep_->attach(shell.buttons[i]);
    }
    system_.showWindow(shell.mainWindow, ShowCommand::Maximized);
    system_.updateWindow(shell.mainWindow);
    system_.setWindowText(shell.mainWindow, shell.titleText);
    for (const WindowHandle window : {shell.browserPane, shell.ecgPane, shell.titlePane}) {
        system_.showWindow(window, ShowCommand::Normal);
        system_.updateWindow(window);
    }
}

}  // namespace lumen
