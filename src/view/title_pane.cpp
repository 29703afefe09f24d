#include "view/title_pane.h"

#include "lang/beat_statistics_text.h"
#include "store/beat_list.h"

namespace lumen {

TitlePane::TitlePane(PaneHost& host, const BeatList& beats) : host_(host), beats_(beats) {}

// The statistics are written last: where a long patient line meets them,
// they cover it.
void TitlePane::paint(WindowHandle window) {
    WindowSystem& system = WindowSystem::active();
    PaintStruct paint;
    Canvas* canvas = system.beginPaint(window, paint);
    left_ = std::string(host_.texts().text(TextId::PatientLabel)) + host_.patientLine();
    right_ = beatStatisticsText(host_.texts().text(TextId::BeatStatistics), beats_.counts());
    if (canvas != nullptr) {
        canvas->setBkColor(host_.drawing().windowColor);
        canvas->selectFont(host_.drawing().measuringFont);
        canvas->setTextColor(host_.drawing().ventricularColor);
        canvas->textOut(Point{5, 1}, left_);
        const int32_t width = canvas->textExtent(right_).width;
        canvas->textOut(Point{system.clientRect(window).width() - width - 5, 1}, right_);
    }
    host_.refreshButtonFaces();
    system.endPaint(window, paint);
}

LResult TitlePane::handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    WindowSystem& system = WindowSystem::active();
    switch (message) {
    case WM_PAINT: paint(window); return 0;
    case WM_COMMAND:
        system.setFocus(host_.mainWindow());
        if (loWord(wParam) != controlNumber(ControlId::TitleHidden)) break;
        system.moveWindow(host_.button(ControlId::TitleHidden), Rect{}, Repaint::Yes);
        system.invalidateRect(window, std::nullopt, Erase::Yes);
        system.updateWindow(window);
        host_.refreshButtonFaces();
        return 0;
    case WM_MOUSEMOVE:
        if (host_.restoreTitle()) host_.refreshButtonFaces();
        return 0;
    default: break;
    }
    return system.defWindowProc(window, message, wParam, lParam);
}

}  // namespace lumen
