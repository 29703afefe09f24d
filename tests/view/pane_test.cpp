// The three panes of the main window against a fake shell: each message or
// button asks the shell for exactly the work it should, nothing more.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "events/event_browser_pane.h"
#include "platform/headless/headless_driver.h"
#include "store/event_feed.h"
#include "store/trend_table.h"
#include "strip_test_home.h"
#include "view/ecg_pane.h"
#include "view/title_pane.h"

namespace lumen {
namespace {

using testing::StripTestHome;

// Reads from fixed values and writes every request into one line, "|" between.
class FakeShell final : public PaneContext, public ShellServices, public PaneLinks {
public:
    const ShellLayout& layout() const override { return shellLayout; }
    const DrawingSet& drawing() const override { return drawingSet; }
    const LanguageTexts& texts() const override { return languageTexts; }
    const std::string& patientLine() const override { return patient; }
    WindowHandle mainWindow() const override { return main; }
    WindowHandle button(ControlId control) const override {
        const auto found = buttons.find(control);
        return found == buttons.end() ? WindowHandle{} : found->second;
    }

    void refreshButtonFaces() override { note("faces"); }
    void recountBeatsAndTitle() override { note("recount"); }
    bool restoreTitle() override { return note("title"), titleReplaced; }
    void setFirstBlock(int32_t block) override { note("block " + std::to_string(block)); }
    void recordWriteBack(ChangeKind kind) override { note("writeBack " + std::to_string(static_cast<int>(kind))); }
    void markAnnotationChanged() override { note("annotationChanged"); }
    void reportUnsavedCorrections() override { note("unsaved"); }
    void printReport(const ShownStretch& stretch) override {
        note("print " + std::to_string(static_cast<int>(stretch.channelMode)) + " " +
             std::to_string(stretch.firstSample) + ".." + std::to_string(stretch.lastSample));
    }
    void requestExit() override { note("exit"); }

    void loadStripAround(int32_t samplePosition) override { note("strip " + std::to_string(samplePosition)); }
    void resetCaliperFirstColumn() override { note("caliper"); }
    void showBothChannels() override { note("both"); }
    ShownStretch shownStretch() const override { return {ChannelMode::Both, 100, 380}; }

    void note(const std::string& call) { calls += (calls.empty() ? "" : "|") + call; }

    ShellLayout shellLayout;
    DrawingSet drawingSet;
    LanguageTexts languageTexts;
    std::string patient = "DOE JOHN";
    WindowHandle main;
    std::map<ControlId, WindowHandle> buttons;
    bool titleReplaced = false;
    std::string calls;
};

class NoExtremes final : public ExtremesSource {
public:
    void resetFlags() override {}
    void rebuildHeartRate() override {}
    void excludeExtreme(uint8_t, EventSink&, int32_t) override {}
};

struct Step {
    uint32_t message;
    WParam wParam;
    std::string expected;  // "{cursor}" stands for the catalog's cursor after the message
};

constexpr Rect kPanePlace{0, 0, 600, 200};

class PaneTest : public ::testing::Test {
protected:
    PaneTest() {
        system.registerClass(WindowClass{"pane", &PaneWindow::procedure});
        shell.main = system.createWindow({"pane", "", WS_OVERLAPPEDWINDOW, Rect{0, 0, 800, 600}, {}, 0});
        system.showWindow(shell.main, ShowCommand::Normal);
        shell.shellLayout.buttonUnit = 66;
        shell.shellLayout.buttonHeight = 20;
        shell.shellLayout.ecgButtonHalf = 33;
        shell.shellLayout.ecgButtonHeight = 17;
        shell.shellLayout.statusRect = Rect{0, 160, 600, 180};
        catalog.setRecordingSpan(0, 12 * 500);
        catalog.setScreenArea(Rect{0, 0, 600, 160});
        for (const int32_t position : {900, 1100, 1250}) catalog.dispatchCode(kArtefactCode, position, 0, -1);
    }

    WindowHandle open(PaneWindow& pane) {
        const WindowHandle window = system.createWindow({"pane", "", WS_CHILD | WS_VISIBLE, kPanePlace, shell.main, 0});
        pane.attach(system, window);
        for (const ControlId id : {ControlId::Exit, ControlId::NextBeat, ControlId::TitleHidden}) {
            shell.buttons[id] =
                system.createWindow({"button", "", WS_CHILD | WS_VISIBLE, Rect{1, 1, 9, 9}, window, controlNumber(id)});
        }
        return window;
    }

    void run(WindowHandle pane, const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            shell.calls.clear();
            system.sendMessage(pane, step.message, step.wParam, 0);
            std::string expected = step.expected;
            if (const size_t at = expected.find("{cursor}"); at != std::string::npos) {
                expected.replace(at, 8, std::to_string(catalog.cursorPosition()));
            }
            EXPECT_EQ(shell.calls, expected) << "message " << step.message << " " << step.wParam;
        }
    }

    static WParam command(ControlId id) { return controlNumber(id); }

    HeadlessDriver driver{Size{1024, 768}, {}};
    WindowSystem system{driver};
    StripTestHome home;
    FakeShell shell;
    EventCatalog catalog{home.texts};
    TrendTable trends;
    NoExtremes extremes;
};

TEST_F(PaneTest, EventBrowserAsksForTheStripAtItsCursorAndForEveryShellService) {
    EventBrowserPane browser(system, shell, shell, shell, catalog, *home.recording, trends, extremes);
    const WindowHandle pane = open(browser);
    run(pane, {
                  {WM_PAINT, 0, "both|strip {cursor}"},
                  {WM_KEYDOWN, VK_RIGHT, "strip {cursor}|faces"},
                  {WM_KEYDOWN, 'X', ""},
                  {WM_COMMAND, command(ControlId::NextEvent), "caliper|strip {cursor}|faces"},
                  {WM_COMMAND, command(ControlId::PrintReport), "print 3 100..380"},
                  {WM_COMMAND, command(ControlId::Exit), "exit"},
                  {WM_COMMAND, command(ControlId::LabelNormal), ""},
                  {WM_RBUTTONUP, 0, "faces|strip {cursor}|faces"},
                  {WM_SIZE, 0, "faces"},
              });
    EXPECT_EQ(system.focus(), shell.main);
    EXPECT_EQ(system.windowPlace(shell.buttons[ControlId::Exit]).right, kPanePlace.right);
    EXPECT_EQ(system.windowPlace(shell.buttons[ControlId::Exit]).bottom, kPanePlace.bottom);
    EXPECT_FALSE(browser.statusTexts().right.empty());
}

TEST_F(PaneTest, EcgPaneReportsEachRelabellingAndTheStripsFirstBlock) {
    EcgPane ecg(system, shell, shell, *home.painter, catalog);
    const WindowHandle pane = open(ecg);
    home.painter->view().pixelsPerSample = 1;
    home.painter->loadStripAround(1000);  // selects the normal beat at sample 1000
    // In order: a normal beat becomes ventricular (a change of normality),
    // then an artefact (another change), then stays one (no change).
    run(pane, {
                  {WM_COMMAND, command(ControlId::LabelVentricular), "writeBack 1|faces|recount"},
                  {WM_COMMAND, command(ControlId::LabelArtefact), "writeBack 2|faces|recount"},
                  {WM_COMMAND, command(ControlId::LabelArtefact), "faces|recount"},
                  // The strip moves from block 1 to the catalog's cursor, at the start.
                  {WM_COMMAND, command(ControlId::NextSpeed), "block 0|faces"},
                  {WM_COMMAND, command(ControlId::NextBeat), "faces"},
                  {WM_COMMAND, command(ControlId::Exit), ""},
                  {WM_RBUTTONDOWN, 0, "faces"},
                  {WM_MOUSEMOVE, 0, "title"},
                  {WM_SIZE, 0, "faces"},
              });
    EXPECT_EQ(home.recording->beats()[4].label(), 3);
    EXPECT_EQ(system.windowPlace(shell.buttons[ControlId::NextBeat]).right, kPanePlace.right);
}

TEST_F(PaneTest, TitlePaneShowsThePatientAndTheBeatCountsAndHidesItsButton) {
    TitlePane title(system, shell, shell, home.recording->beats());
    const WindowHandle pane = open(title);
    home.recording->beats().count();
    run(pane, {{WM_PAINT, 0, "faces"}, {WM_MOUSEMOVE, 0, "title"}});
    EXPECT_EQ(title.leftText(), std::string(shell.languageTexts.text(TextId::PatientLabel)) + "DOE JOHN");
    // The recording's eight normal beats and one ventricular, with nothing supraventricular counted.
    EXPECT_NE(title.rightText().find(": 8 (88.89%) / 1 (11.11%) / 0 (0.00%)"), std::string::npos) << title.rightText();
    shell.titleReplaced = true;
    run(pane, {
                  {WM_MOUSEMOVE, 0, "title|faces"},
                  {WM_COMMAND, command(ControlId::NextBeat), ""},
                  // The pane repaints at once, then the command ends.
                  {WM_COMMAND, command(ControlId::TitleHidden), "faces|faces"},
              });
    EXPECT_EQ(system.windowPlace(shell.buttons[ControlId::TitleHidden]), Rect{});
    EXPECT_EQ(system.focus(), shell.main);
}

}  // namespace
}  // namespace lumen
