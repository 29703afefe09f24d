// SPDX-License-Identifier: GPL-3.0-or-later
// The title pane against a fake shell: what it asks of the shell and how it
// hides its button (the browser and ECG panes are driven through the viewer).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/headless/headless_driver.h"
#include "strip_test_home.h"
#include "view/title_pane.h"

namespace lumen {
namespace {

using testing::StripTestHome;

// Reads from fixed values and writes every request into one line, "|" between.
class FakeShell final : public PaneContext, public ShellServices {
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
    void printReport(const ShownStretch&) override { note("print"); }
    void requestExit() override { note("exit"); }

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

struct Step {
    uint32_t message;
    WParam wParam;
    std::string expected;
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
            EXPECT_EQ(shell.calls, step.expected) << "message " << step.message << " " << step.wParam;
        }
    }

    static WParam command(ControlId id) { return controlNumber(id); }

    HeadlessDriver driver{Size{1024, 768}, {}};
    WindowSystem system{driver};
    StripTestHome home;
    FakeShell shell;
};

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
