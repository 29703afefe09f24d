// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/main_window.h"

#include <algorithm>
#include <utility>

#include "platform/window/app_messages.h"
#include "shell/layout_rules.h"
#include "store/form_census.h"

namespace lumen {

MainWindow::MainWindow(WindowSystem& system, ViewerModel& model, ButtonFaces& faces, PaneCommands& panes,
                       FormReview& forms, Terminate terminate)
    : system_(system), model_(model), faces_(faces), panes_(panes), forms_(forms), terminate_(std::move(terminate)) {}

bool MainWindow::restoreTitle() {
    if (!model_.shell.titleReplaced) return false;
    model_.shell.titleReplaced = false;
    system_.setWindowText(model_.shell.mainWindow, model_.shell.titleText);
    return true;
}

void MainWindow::layoutPanes(Size client) {
    const int32_t screenWidth = system_.systemMetrics(SM_CXSCREEN);
    model_.layout = computeLayout(screenWidth, client);
    const ShellLayout& layout = model_.layout;
    faces_.loadBitmapSet(layout.screenClass);
    model_.stripObjects = StripDrawingObjects::make(model_.stripColors, layout.screenClass);
    system_.moveWindow(model_.shell.titlePane, layout.titlePlace, Repaint::Yes);
    system_.moveWindow(model_.shell.browserPane, layout.browserPlace, Repaint::Yes);
    system_.moveWindow(model_.shell.formsPane, layout.browserPlace, Repaint::Yes);
    system_.moveWindow(model_.shell.ecgPane, layout.ecgPlace, Repaint::Yes);
    model_.stripImage.reset();
    const int32_t stripHeight = std::max(layout.ecgPlace.height(), 1);
    std::unique_ptr<Canvas> paneCanvas = system_.getDC(model_.shell.ecgPane);
    model_.stripImage = paneCanvas->createCompatibleImage(Size{std::max(layout.stripWidth + 1, 1), stripHeight});
    system_.releaseDC(model_.shell.ecgPane, std::move(paneCanvas));
    if (model_.catalog) {
        model_.catalog->setRowFont(layout.screenClass == 1 ? model_.drawing.rowFontLarge : model_.drawing.rowFontSmall);
        model_.catalog->setScreenArea(
            Rect{0, 0, layout.browserPlace.width(), layout.browserPlace.height() - layout.buttonHeight});
    }
}

void MainWindow::relabel(RelabelMode mode) {
    if (panes_.repaintStrip(mode, PaintOp::Full, -1) != 0) panes_.runLabelWriteBack();
    faces_.refreshButtonFaces();
    panes_.recountBeatsAndTitle();
    if (model_.catalog) model_.catalog->clearExtremesValid();
    panes_.refreshBrowser(panes_.refreshExtremes());
}

void MainWindow::keyDown(uint32_t virtualKey) {
    if (model_.painter) model_.painter->caliper().forgetRelease();
    restoreTitle();
    EventCatalog* catalog = model_.catalog.get();
    if (catalog == nullptr) return;
    if (forms_.isOpen() && forms_.keyDown(virtualKey)) return;
    switch (virtualKey) {
    case VK_PRIOR:
    case VK_UP:
        catalog->previousRow();
        panes_.refreshBrowser(panes_.refreshExtremes());
        break;
    case VK_NEXT:
    case VK_DOWN:
        catalog->nextRow();
        panes_.refreshBrowser(panes_.refreshExtremes());
        break;
    case VK_LEFT:
        catalog->previousEvent();
        panes_.refreshBrowser(false);
        break;
    case VK_RIGHT:
        catalog->nextEvent();
        panes_.refreshBrowser(false);
        break;
    case VK_DELETE:
        panes_.removeSelectedEvent();
        panes_.refreshBrowser(false);
        panes_.recountBeatsAndTitle();
        break;
    case 'N': relabel(RelabelMode::Normal); break;
    // Supraventricular has a key but no button: the button column stays.
    case 'S': relabel(RelabelMode::Supraventricular); break;
    case 'V': relabel(RelabelMode::Ventricular); break;
    case 'A': relabel(RelabelMode::Artefact); break;
    case 'F': forms_.toggle(); break;
    // The rows follow the corrected labels at once, not only after the exit.
    case 'R': forms_.rederive(); break;
    case 'P':
        if ((system_.keyState(VK_CONTROL) & 0x8000) != 0 && (system_.keyState(VK_SHIFT) & 0x8000) == 0 &&
            (system_.keyState(VK_MENU) & 0x8000) == 0) {
            panes_.printStudyReport();
            break;
        }
        if ((system_.keyState(VK_CONTROL) & 0x8000) != 0 && (system_.keyState(VK_SHIFT) & 0x8000) != 0 &&
            (system_.keyState(VK_MENU) & 0x8000) != 0) {
            system_.setWindowText(model_.shell.mainWindow, kCreditText);
            model_.shell.titleReplaced = true;
        }
        break;
    default: break;
    }
}

// The forms view's actions by form id, as scripted input asks for them.
bool MainWindow::formsMessage(uint32_t message, WParam wParam, LParam lParam) {
    if (!model_.catalog) return false;
    if (message != kFormsViewMessage && static_cast<uint64_t>(wParam) >= FormCensus::kFormCodes) return false;
    const auto form = static_cast<uint8_t>(wParam);
    switch (message) {
    case kFormsViewMessage: forms_.toggle(); return true;
    case kFormSelectMessage: forms_.selectForm(form); return true;
    case kFormClassMessage:
        forms_.classifyForm(form, static_cast<BeatClass>(static_cast<uint64_t>(lParam) % kBeatClassCount));
        return true;
    case kFormMoveBeatMessage: forms_.moveSelectedBeat(form); return true;
    default: return false;
    }
}

void MainWindow::destroyed() {
    model_.stripImage.reset();
    if (!model_.shell.shuttingDown) terminate_("");
}

LResult MainWindow::handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case WM_SIZE:
        if (wParam == SIZE_RESTORED || wParam == SIZE_MINIMIZED) terminate_("");
        layoutPanes(Size{loWord(static_cast<uint64_t>(lParam)), hiWord(static_cast<uint64_t>(lParam))});
        return 0;
    case WM_KEYDOWN: keyDown(static_cast<uint32_t>(wParam)); return 0;
    case kFormsViewMessage:
    case kFormSelectMessage:
    case kFormClassMessage:
    case kFormMoveBeatMessage: return formsMessage(message, wParam, lParam) ? 0 : 1;
    case WM_MOUSEMOVE: restoreTitle(); break;
    case WM_DESTROY:
    case kCloseRequest: destroyed(); return 0;
    default: break;
    }
    return system_.defWindowProc(window, message, wParam, lParam);
}

}  // namespace lumen
