// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ecg_pane.h"

#include "store/beat_window.h"

namespace lumen {

EcgPane::EcgPane(WindowSystem& system, const PaneContext& context, ShellServices& services, StripPainter& painter,
                 const EventCatalog& catalog)
    : system_(system), context_(context), services_(services), painter_(painter), catalog_(catalog) {}

void EcgPane::placeButtons(WindowHandle window) {
    const int32_t paneWidth = system_.clientRect(window).width();
    const int32_t bw = context_.layout().ecgButtonHalf;
    const int32_t bh = context_.layout().ecgButtonHeight;
    const int32_t x = paneWidth - 2 * bw;
    const struct {
        ControlId id;
        Rect place;
    } places[] = {{ControlId::LabelNormal, {x, 0, x + 2 * bw, bh}},          {ControlId::LabelVentricular, {x, bh, x + 2 * bw, 2 * bh}},
                  {ControlId::LabelArtefact, {x, 2 * bh, x + 2 * bw, 3 * bh}}, {ControlId::NextAmplitude, {x, 3 * bh, x + 2 * bw, 4 * bh}},
                  {ControlId::NextSpeed, {x, 4 * bh, x + 2 * bw, 5 * bh}}, {ControlId::PreviousBeat, {x, 5 * bh, x + bw, 6 * bh}},
                  {ControlId::NextBeat, {paneWidth - bw, 5 * bh, paneWidth, 6 * bh}}};
    for (const auto& place : places) system_.moveWindow(context_.button(place.id), place.place, Repaint::Yes);
}

void EcgPane::loadStripAround(int32_t samplePosition) {
    painter_.loadStripAround(samplePosition);
    services_.setFirstBlock(painter_.window().firstBlock);
}

int32_t EcgPane::repaintStrip(RelabelMode mode, PaintOp op, int32_t column) {
    return painter_.repaintStrip(mode, op, column);
}

void EcgPane::runLabelWriteBack() {
    LabelChanges changes;
    const ChangeKind kind = painter_.writeBackLabels(changes);
    services_.recordWriteBack(kind);
}

void EcgPane::paint(WindowHandle window) {
    PaintStruct paint;
    if (Canvas* canvas = system_.beginPaint(window, paint); canvas != nullptr) painter_.paintPane(*canvas);
    system_.endPaint(window, paint);
    services_.refreshButtonFaces();
}

void EcgPane::relabel(RelabelMode mode) {
    if (services_.classifySelectedForm(static_cast<BeatClass>(static_cast<int32_t>(mode) - 1))) return;
    painter_.view().caliperCleared = 1;
    if (painter_.repaintStrip(mode, PaintOp::Full, -1) == 1) runLabelWriteBack();
    services_.refreshButtonFaces();
    services_.recountBeatsAndTitle();
}

void EcgPane::command(uint32_t id) {
    switch (static_cast<ControlId>(id)) {
    case ControlId::LabelNormal: relabel(RelabelMode::Normal); return;
    case ControlId::LabelVentricular: relabel(RelabelMode::Ventricular); return;
    case ControlId::LabelArtefact: relabel(RelabelMode::Artefact); return;
    case ControlId::NextAmplitude: painter_.nextAmplitude(); break;
    case ControlId::NextSpeed:
        painter_.nextSpeed(catalog_.cursorPosition());
        services_.setFirstBlock(painter_.window().firstBlock);
        break;
    case ControlId::PreviousBeat: painter_.selectPreviousBeat(); break;
    case ControlId::NextBeat: painter_.selectNextBeat(); break;
    default: return;
    }
    services_.refreshButtonFaces();
}

void EcgPane::mouse(uint32_t message, WParam wParam, LParam lParam) {
    const int32_t column = loWord(static_cast<uint64_t>(lParam));
    const MouseKeys keys = wParam == MK_LBUTTON ? MouseKeys::LeftAlone : MouseKeys::Other;
    CaliperMove move = CaliperMove::Ignored;
    switch (message) {
    case WM_LBUTTONDOWN: move = painter_.pressCaliper(column, keys); break;
    case WM_MOUSEMOVE:
        services_.restoreTitle();
        move = painter_.moveCaliper(column, keys);
        break;
    case WM_LBUTTONUP: painter_.releaseCaliper(column); break;
    default: break;
    }
    if (move == CaliperMove::OutsideStrip) services_.refreshButtonFaces();
}

LResult EcgPane::handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case WM_SIZE: placeButtons(window); services_.refreshButtonFaces(); return 0;
    case WM_PAINT: paint(window); return 0;
    case WM_COMMAND:
        system_.setFocus(context_.mainWindow());
        painter_.caliper().forgetRelease();
        command(loWord(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: mouse(message, wParam, lParam); return 0;
    case WM_RBUTTONDOWN:
        painter_.selectBeatNear(loWord(static_cast<uint64_t>(lParam)));
        services_.refreshButtonFaces();
        return 0;
    default: return system_.defWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace lumen
