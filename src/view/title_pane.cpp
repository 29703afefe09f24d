// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/title_pane.h"

#include "lang/beat_statistics_text.h"
#include "store/beat_list.h"

namespace lumen {

TitlePane::TitlePane(WindowSystem& system, const PaneContext& context, ShellServices& services, const BeatList& beats)
    : system_(system), context_(context), services_(services), beats_(beats) {}

// The statistics are written last: where a long patient line meets them,
// they cover it.
void TitlePane::paint(WindowHandle window) {
    PaintStruct paint;
    Canvas* canvas = system_.beginPaint(window, paint);
    left_ = std::string(context_.texts().text(TextId::PatientLabel)) + context_.patientLine();
    if (const std::string date = context_.recordingDate(); !date.empty()) left_ += "   " + date;
    right_ = beatStatisticsText(context_.texts().text(TextId::BeatStatistics), beats_.counts());
    if (canvas != nullptr) {
        canvas->setBkColor(context_.drawing().windowColor);
        canvas->selectFont(context_.drawing().measuringFont);
        canvas->setTextColor(context_.drawing().ventricularColor);
        canvas->textOut(Point{5, 1}, left_);
        const int32_t width = canvas->textExtent(right_).width;
        canvas->textOut(Point{system_.clientRect(window).width() - width - 5, 1}, right_);
    }
    services_.refreshButtonFaces();
    system_.endPaint(window, paint);
}

LResult TitlePane::handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case WM_PAINT: paint(window); return 0;
    case WM_COMMAND:
        system_.setFocus(context_.mainWindow());
        if (loWord(wParam) != controlNumber(ControlId::TitleHidden)) break;
        system_.moveWindow(context_.button(ControlId::TitleHidden), Rect{}, Repaint::Yes);
        system_.invalidateRect(window, std::nullopt, Erase::Yes);
        system_.updateWindow(window);
        services_.refreshButtonFaces();
        return 0;
    case WM_MOUSEMOVE:
        if (services_.restoreTitle()) services_.refreshButtonFaces();
        return 0;
    default: break;
    }
    return system_.defWindowProc(window, message, wParam, lParam);
}

}  // namespace lumen
